// How one loop shares out its slots and connections among many transfers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "Tally.h"
#include "TransferWait.h"
#include "platform/KernelObjects.h"
#include "platform/TransferLoop.h"

using kestest::Fetch;
using kestest::Results;
using platform::TransferEnd;
using platform::TransferLoop;

namespace {

std::string PageBody(int id) {
    return "page " + std::to_string(id) + std::string(3000, '.');
}

// Serves /page/<n> and tells its connections apart by the client's port.
class PageServer {
  public:
    PageServer() {
        server_.Http().Get(R"(/page/(\d+))",
                           [this](const httplib::Request& req, httplib::Response& res) {
                               {
                                   std::lock_guard lock(mutex_);
                                   ports_.insert(req.remote_port);
                               }
                               res.set_content(PageBody(std::stoi(req.matches[1])), "text/plain");
                           });
        server_.Start();
    }
    std::string Url(int id) const { return server_.Url("/page/" + std::to_string(id)); }
    std::size_t Connections() {
        std::lock_guard lock(mutex_);
        return ports_.size();
    }

  private:
    std::mutex mutex_;
    std::set<int> ports_;
    kestest::LoopbackServer server_;
};

void ExpectPage(TransferLoop& loop, PageServer& server, int id) {
    const auto result = Fetch(loop, {.url = server.Url(id)});
    EXPECT_EQ(result.status, 200) << result.errorDescription;
    EXPECT_TRUE(result.body.Bytes() == PageBody(id));
}

// The server holds each request until five are in, so a sixth at once would show; a batch
// can only fill with the next five submitted if the loop starts them in that order.
TEST(TransferLoopSlots, TwentyTransfersRunFiveAtOnceFirstInFirstOut) {
    constexpr int kSubmitted = 20;
    constexpr int kBatch = TransferLoop::kMaxRunning;
    kestest::Tally arrivals;
    kestest::Tally inFlight;
    std::array<std::atomic<int>, kSubmitted> arrived{};
    kestest::LoopbackServer server;
    server.Http().Get(R"(/page/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
        inFlight.Up();
        const int index = arrivals.Up() - 1;
        if (index < kSubmitted) arrived[static_cast<size_t>(index)] = std::stoi(req.matches[1]);
        arrivals.WaitFor((index / kBatch + 1) * kBatch);
        inFlight.Down();  // before any byte of the answer, which frees the slot
        res.set_content("page", "text/plain");
    });
    server.Start();

    Results results;
    TransferLoop loop;
    for (int i = 0; i < kSubmitted; ++i) {
        // Under two host names: libcurl holds each host to five connections of itself.
        auto url = server.Url("/page/" + std::to_string(i));
        if (i % 2 == 1) url.replace(url.find("127.0.0.1"), 9, "localhost");
        loop.Submit({.url = url}, results.For(i));
    }
    ASSERT_TRUE(results.WaitFor(kSubmitted));
    for (const auto& [tag, result] : results.Take()) {
        EXPECT_EQ(result.end, TransferEnd::Completed) << tag << ": " << result.errorDescription;
    }
    EXPECT_EQ(inFlight.Max(), kBatch);
    for (int index = 0; index < kSubmitted; ++index) {
        EXPECT_EQ(arrived[static_cast<size_t>(index)] / kBatch, index / kBatch)
            << "request " << arrived[static_cast<size_t>(index)] << " came " << index + 1 << "th";
    }
}

// Transfers one after another on a loop take up the connection the last one left; another
// loop keeps its connections to itself.
TEST(TransferLoopConnections, ALoopReusesItsConnectionsAndKeepsThemToItself) {
    PageServer server;
    TransferLoop loop;
    for (int id = 0; id < 3; ++id) ExpectPage(loop, server, id);
    EXPECT_EQ(server.Connections(), 1u);

    TransferLoop other;
    ExpectPage(other, server, 3);
    EXPECT_EQ(server.Connections(), 2u);
}

TEST(TransferLoopThreads, ManyThreadsSubmitAtOnceAndEachResultComesOnce) {
    PageServer server;
    constexpr int kThreads = 8;
    constexpr int kPerThread = 25;
    Results results;
    {
        TransferLoop loop;
        // httplib sets up function statics on first use; one request first keeps their
        // concurrent set-up from being reported as a race.
        ExpectPage(loop, server, 0);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < kPerThread; ++i) {
                    const int id = t * kPerThread + i;
                    loop.Submit({.url = server.Url(id)}, results.For(id));
                }
            });
        }
        for (auto& thread : threads) thread.join();
        ASSERT_TRUE(results.WaitFor(kThreads * kPerThread));
    }
    // The loop is gone: no result is still to come.
    auto ended = results.Take();
    ASSERT_EQ(ended.size(), static_cast<size_t>(kThreads * kPerThread));
    std::sort(ended.begin(), ended.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (int id = 0; id < kThreads * kPerThread; ++id) {
        const auto& [tag, result] = ended[static_cast<size_t>(id)];
        ASSERT_EQ(tag, id) << "a result came twice or not at all";
        EXPECT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
        EXPECT_TRUE(result.body.Bytes() == PageBody(id));
    }
}

// A transfer told to wait holds no slot meanwhile: others submitted after it pass it, and
// its own cancel event ends the wait at once.
TEST(TransferLoopSlots, ADelayedTransferLetsOthersPassAndItsCancelEndsTheWait) {
    PageServer server;
    const std::string name = "TransferLoopSlots.delayed";
    auto cancel = platform::CreateEventA(true, false, name);
    Results results;
    TransferLoop loop;
    loop.Submit({.url = server.Url(1), .delay = std::chrono::hours(1), .cancelEventName = name},
                results.For(1));
    loop.Submit({.url = server.Url(2), .delay = std::chrono::milliseconds(50)}, results.For(2));
    for (int id = 3; id < 3 + TransferLoop::kMaxRunning; ++id) {
        loop.Submit({.url = server.Url(id)}, results.For(id));
    }
    ASSERT_TRUE(results.WaitFor(1 + TransferLoop::kMaxRunning));
    for (const auto& [tag, result] : results.Take()) {
        EXPECT_NE(tag, 1) << "the hour's wait was cut short";
        EXPECT_EQ(result.end, TransferEnd::Completed) << tag;
    }
    platform::SetEvent(cancel);
    ASSERT_TRUE(results.WaitFor(2 + TransferLoop::kMaxRunning));
    const auto ended = results.Take();
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].first, 1);
    EXPECT_EQ(ended[0].second.end, TransferEnd::Cancelled);
    // Five at once, the one that waited reusing a connection, the cancelled one none.
    EXPECT_EQ(server.Connections(), static_cast<std::size_t>(TransferLoop::kMaxRunning));
}

}  // namespace
