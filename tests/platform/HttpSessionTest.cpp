// Requests on one session share connections.
#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "Polling.h"
#include "platform/HttpRequest.h"
#include "platform/HttpSession.h"

using platform::HttpRequest;
using platform::OpenHttpSession;

namespace {

// A keep-alive server that tells its connections apart by the client's port.
class CountingServer {
  public:
    CountingServer() {
        server_.Http().Get("/page", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                ports_.insert(req.remote_port);
            }
            res.set_content("page", "text/plain");
        });
        server_.Start();
    }
    std::string Url() const { return server_.Url("/page"); }
    std::size_t Connections() {
        std::lock_guard lock(mutex_);
        return ports_.size();
    }

  private:
    std::mutex mutex_;
    std::set<int> ports_;
    kestest::LoopbackServer server_;
};

void FetchPage(HttpRequest request, const std::string& url) {
    ASSERT_TRUE(kestest::Fetch(request, url));
    EXPECT_EQ(request.status(), 200);
    EXPECT_EQ(request.responseBody(), "page");
}

}  // namespace

TEST(HttpSession, RequestsOnOneSessionTakeUpTheConnectionTheLastOneLeft) {
    CountingServer server;
    const auto session = OpenHttpSession("");
    for (int i = 0; i < 3; ++i) FetchPage(HttpRequest(session), server.Url());
    EXPECT_EQ(server.Connections(), 1u);

    // Without a session each request keeps its connection to itself.
    for (int i = 0; i < 2; ++i) FetchPage(HttpRequest(), server.Url());
    EXPECT_EQ(server.Connections(), 3u);
}

TEST(HttpSession, OneNameIsOneSessionWhileHeld) {
    CountingServer server;
    const auto held = OpenHttpSession("HttpSession.OneName");
    FetchPage(HttpRequest(OpenHttpSession("HttpSession.OneName")), server.Url());
    FetchPage(HttpRequest(OpenHttpSession("HttpSession.OneName")), server.Url());
    EXPECT_EQ(server.Connections(), 1u);
    FetchPage(HttpRequest(OpenHttpSession("HttpSession.OtherName")), server.Url());
    EXPECT_EQ(server.Connections(), 2u);
    EXPECT_EQ(OpenHttpSession("HttpSession.OneName"), held);
    EXPECT_NE(OpenHttpSession(""), OpenHttpSession(""));
}

TEST(HttpSession, ThreadsShareOneSessionAtOnce) {
    CountingServer server;
    FetchPage(HttpRequest(), server.Url());  // httplib's first-use tables, before the threads
    const auto session = OpenHttpSession("");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5; ++i) FetchPage(HttpRequest(session), server.Url());
        });
    }
    for (auto& thread : threads) thread.join();
    // The warm-up's own connection plus one per request would mean no reuse at all.
    EXPECT_LT(server.Connections(), 1u + 4u * 5u);
}
