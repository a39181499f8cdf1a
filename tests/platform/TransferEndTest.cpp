// How transfers end other than whole: at their deadline, by their cancel event, with the loop.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "LoopbackServer.h"
#include "Tally.h"
#include "TransferWait.h"
#include "platform/KernelObjects.h"
#include "platform/TransferLoop.h"

using namespace std::chrono_literals;
using kestest::Gate;
using kestest::Results;
using platform::TransferEnd;
using platform::TransferLoop;
using platform::TransferResult;

namespace {

std::map<int, TransferResult> ByTag(std::vector<std::pair<int, TransferResult>> results) {
    std::map<int, TransferResult> byTag;
    for (auto& [tag, result] : results) {
        EXPECT_TRUE(byTag.emplace(tag, std::move(result)).second) << "transfer " << tag << " twice";
    }
    return byTag;
}

// Answers that stop at each point a response can stall at, until the server goes.
class TransferEnds : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& http = server_.Http();
        http.Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
            silent_.Up();
            never_.Wait();
            res.set_content("late", "text/plain");
        });
        // Not text: httplib would compress it and hold the part back.
        http.Get("/head-only", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream",
                                             [this](size_t, httplib::DataSink&) {
                                                 never_.Wait();
                                                 return false;
                                             });
        });
        http.Get("/part", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream",
                                             [this](size_t, httplib::DataSink& sink) {
                                                 sink.write("part one,", 9);
                                                 never_.Wait();
                                                 return false;
                                             });
        });
        http.Get("/to-silent", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/silent", 302);
            res.set_content("redirect body", "text/plain");
        });
        http.Get("/page", [this](const httplib::Request&, httplib::Response& res) {
            pages_.Up();
            res.set_content("page", "text/plain");
        });
        http.Get("/held", [this](const httplib::Request&, httplib::Response& res) {
            heldArrived_.Open();
            res.set_content(release_.Wait() ? "held" : "never released", "text/plain");
        });
        server_.Start();
    }

    kestest::Tally silent_;  // before the server: its handlers count until it stops
    kestest::Tally pages_;
    kestest::LoopbackServer server_;
    Gate& never_ = server_.NewGate();
    Gate& heldArrived_ = server_.NewGate();
    Gate& release_ = server_.NewGate();
};

// The state says how far the final answer came; a redirect's head is not that answer.
TEST_F(TransferEnds, AtItsDeadlineATransferSaysHowFarTheAnswerCame) {
    const std::map<std::string, int> expected = {
        {"/silent", 1}, {"/head-only", 2}, {"/part", 3}, {"/to-silent", 1}};
    TransferLoop loop;
    Results results;
    int tag = 0;
    for (const auto& [path, state] : expected) {
        loop.Submit({.url = server_.Url(path), .timeout = 2s}, results.For(tag++));
    }
    ASSERT_TRUE(results.WaitFor(expected.size()));
    auto ended = ByTag(results.Take());
    tag = 0;
    for (const auto& [path, state] : expected) {
        SCOPED_TRACE(path);
        const auto& result = ended[tag++];
        EXPECT_EQ(result.end, TransferEnd::TimedOut);
        EXPECT_EQ(result.readyState, state);
        EXPECT_EQ(result.status, state == 1 ? (path == "/to-silent" ? 302 : 0) : 200);
        EXPECT_EQ(result.body.Size(), 0);
    }
}

// Five transfers stall until their deadline while a sixth waits for a slot longer than its
// own time-out: it still gets its full time once it runs.
TEST_F(TransferEnds, TheDeadlineCountsFromWhenATransferTakesItsSlot) {
    TransferLoop loop;
    Results results;
    for (int i = 0; i < TransferLoop::kMaxRunning; ++i) {
        loop.Submit({.url = server_.Url("/silent"), .timeout = 1500ms}, results.For(i));
    }
    loop.Submit({.url = server_.Url("/page"), .timeout = 1000ms}, results.For(5));
    ASSERT_TRUE(results.WaitFor(6));
    auto ended = ByTag(results.Take());
    for (int i = 0; i < TransferLoop::kMaxRunning; ++i) {
        EXPECT_EQ(ended[i].end, TransferEnd::TimedOut);
        EXPECT_EQ(ended[i].readyState, 1);
    }
    EXPECT_EQ(ended[5].end, TransferEnd::Completed) << ended[5].errorDescription;
    EXPECT_EQ(ended[5].body.Bytes(), "page");
    EXPECT_EQ(silent_.Max(), TransferLoop::kMaxRunning);
}

// The event ends the transfers that name it, queued or running, and no others, even while
// the loop is full; while it stays set, nothing that names it reaches the server; reset, it
// lets them through again.
TEST_F(TransferEnds, TheCancelEventEndsItsTransfersQueuedOrRunning) {
    const std::string name = "kestest.TransferEnds.cancel";
    auto cancel = platform::CreateEventA(true, false, name);
    TransferLoop loop(1);
    // The held transfer takes up this page's connection, so no connect timer of libcurl's
    // wakes the full loop later: only a submission can.
    ASSERT_EQ(kestest::Fetch(loop, {.url = server_.Url("/page")}).end, TransferEnd::Completed);
    Results results;
    loop.Submit({.url = server_.Url("/held")}, results.For(0));
    ASSERT_TRUE(heldArrived_.Wait());
    loop.Submit({.url = server_.Url("/page"), .cancelEventName = name}, results.For(1));
    platform::SetEvent(cancel);
    ASSERT_TRUE(results.WaitFor(1));  // while the transfer ahead of it still runs
    auto ended = results.Take();
    EXPECT_EQ(ended.front().first, 1);
    EXPECT_EQ(ended.front().second.end, TransferEnd::Cancelled);

    const auto whileSet =
        kestest::Fetch(loop, {.url = server_.Url("/page"), .cancelEventName = name});
    EXPECT_EQ(whileSet.end, TransferEnd::Cancelled);
    release_.Open();
    ASSERT_TRUE(results.WaitFor(2));
    ended = results.Take();
    EXPECT_EQ(ended.front().second.end, TransferEnd::Completed) << "it had no cancel event";
    EXPECT_EQ(ended.front().second.body.Bytes(), "held") << "the cancels waited for its slot";
    EXPECT_EQ(pages_.Max(), 1) << "a cancelled transfer sent its request";

    platform::ResetEvent(cancel);
    loop.Submit({.url = server_.Url("/silent"), .cancelEventName = name}, results.For(2));
    ASSERT_TRUE(silent_.WaitFor(1));
    platform::SetEvent(cancel);
    ASSERT_TRUE(results.WaitFor(3));  // far sooner than the default time-out
    EXPECT_EQ(results.Take().front().second.end, TransferEnd::Cancelled);

    platform::ResetEvent(cancel);
    const auto afterReset =
        kestest::Fetch(loop, {.url = server_.Url("/page"), .cancelEventName = name});
    EXPECT_EQ(afterReset.end, TransferEnd::Completed) << afterReset.errorDescription;
    EXPECT_EQ(afterReset.body.Bytes(), "page");
}

TEST_F(TransferEnds, DestroyingTheLoopCancelsEveryTransferOnce) {
    constexpr int kSubmitted = TransferLoop::kMaxRunning + 3;
    Results results;
    {
        TransferLoop loop;
        for (int i = 0; i < kSubmitted; ++i) {
            loop.Submit({.url = server_.Url("/silent")}, results.For(i));
        }
        ASSERT_TRUE(silent_.WaitFor(TransferLoop::kMaxRunning));
    }
    // The loop is gone, so no later result can come.
    const auto ended = ByTag(results.Take());
    EXPECT_EQ(ended.size(), static_cast<size_t>(kSubmitted));
    for (const auto& [tag, result] : ended) {
        EXPECT_EQ(result.end, TransferEnd::Cancelled) << "transfer " << tag;
    }
}

}  // namespace
