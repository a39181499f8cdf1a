#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "Polling.h"
#include "platform/HttpRequest.h"
#include "platform/KernelObjects.h"

using platform::HttpRequest;

namespace {

std::string PageBody(int id) {
    return "page " + std::to_string(id) + std::string(3000, '.');
}

// A request only moves while it is polled, so a thread with several in flight polls them
// all in turn, as its message loop would.
bool PollAllDone(std::vector<std::unique_ptr<HttpRequest>>& requests) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        int done = 0;
        for (auto& request : requests) {  // every one, every turn
            done += request->readyState() == 4 ? 1 : 0;
        }
        if (done == static_cast<int>(requests.size())) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        platform::Sleep(1);
    }
}

}  // namespace

TEST(HttpThreads, ManyRequestsOnManyThreads) {
    kestest::LoopbackServer server;
    server.Http().Get(R"(/page/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(PageBody(std::stoi(req.matches[1])), "application/octet-stream");
    });
    server.Start();
    // httplib (not built for ThreadSanitizer) sets up function statics on first use; one
    // request first keeps its concurrent first use from being reported as our race.
    HttpRequest warmUp;
    ASSERT_TRUE(kestest::Fetch(warmUp, server.Url("/page/0")));

    constexpr int kThreads = 8;
    constexpr int kPerThread = 5;
    constexpr int kRounds = 6;
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                const int firstId = (t * kRounds + round) * kPerThread;
                std::vector<std::unique_ptr<HttpRequest>> requests;
                for (int i = 0; i < kPerThread; ++i) {
                    auto& request = requests.emplace_back(std::make_unique<HttpRequest>());
                    request->open("GET", server.Url("/page/" + std::to_string(firstId + i)));
                    request->send();
                }
                if (!PollAllDone(requests)) {
                    ADD_FAILURE() << "requests did not complete";
                    return;
                }
                for (int i = 0; i < kPerThread; ++i) {
                    auto& request = *requests[static_cast<size_t>(i)];
                    if (request.Failed()) {
                        ADD_FAILURE() << request.ErrorDescription();
                    } else if (request.status() == 200 &&
                               request.responseBody() == PageBody(firstId + i)) {
                        ++good;
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
