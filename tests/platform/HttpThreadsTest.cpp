#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "Polling.h"
#include "platform/HttpRequest.h"

using platform::HttpRequest;

// Requests live on many threads at once, each polled by its own thread, with several
// requests in flight per thread.
TEST(HttpThreads, ManyRequestsOnManyThreads) {
    kestest::LoopbackServer server;
    server.Http().Get(R"(/page/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content("page " + req.matches[1].str() + std::string(3000, '.'), "text/plain");
    });
    server.Start();

    constexpr int kThreads = 8;
    constexpr int kPerThread = 5;
    constexpr int kRounds = 6;
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                std::vector<std::unique_ptr<HttpRequest>> requests;
                for (int i = 0; i < kPerThread; ++i) {
                    auto& request = requests.emplace_back(std::make_unique<HttpRequest>());
                    const int id = (t * kRounds + round) * kPerThread + i;
                    request->open("GET", server.Url("/page/" + std::to_string(id)));
                    request->send();
                }
                for (int i = 0; i < kPerThread; ++i) {
                    const int id = (t * kRounds + round) * kPerThread + i;
                    auto& request = *requests[static_cast<size_t>(i)];
                    const auto expected = "page " + std::to_string(id) + std::string(3000, '.');
                    if (kestest::PollUntil(request, 4) && !request.Failed() &&
                        request.status() == 200 && request.responseBody() == expected) {
                        ++good;
                    } else if (request.Failed()) {
                        ADD_FAILURE() << request.ErrorDescription();
                    }
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(good.load(), kThreads * kPerThread * kRounds);
}
