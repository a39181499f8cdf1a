#include <gtest/gtest.h>

#include <future>

#include "Fetch.h"
#include "serpdouble/SerpDouble.h"

namespace serpdouble {
namespace {

using namespace std::chrono_literals;
using test::EntryLinks;
using test::Fetch;
using test::HasNavigationBar;
using test::SearchTarget;

// Generous bound for waits on the double's own threads; passing it means a hang.
constexpr auto kPatience = 20s;

SerpDouble::Options WithResultFaults(std::map<int, Fault> faults) {
    SerpDouble::Options options;
    options.resultFaults = std::move(faults);
    return options;
}

bool Stalled(const SerpDouble& server, int count) {
    return server.WaitFor([count](const Stats& s) { return s.stalled == count; }, kPatience);
}

TEST(Faults, StatusAnswersCarryNoLocation) {
    SerpDouble server(WithResultFaults(
        {{2, Fault::WithStatus(404)}, {3, Fault::WithStatus(500)}, {4, Fault::WithStatus(301)}}));
    server.Start();
    EXPECT_EQ(Fetch(server, "/page/2").status, 404);
    EXPECT_EQ(Fetch(server, "/page/3.pdf").status, 500);
    const auto moved = Fetch(server, "/page/4");
    EXPECT_EQ(moved.status, 301);
    EXPECT_FALSE(moved.headers.contains("Location"));
    EXPECT_EQ(Fetch(server, "/page/5").status, 200);
}

TEST(Faults, RedirectPointsAtTheDoubleOrWhereverTold) {
    SerpDouble server(WithResultFaults(
        {{2, Fault::RedirectTo("/page/7")}, {3, Fault::RedirectTo("http://127.0.0.1:9/x", 301)}}));
    server.Start();
    const auto found = Fetch(server, "/page/2");
    EXPECT_EQ(found.status, 302);
    EXPECT_EQ(found.Header("Location"), server.PageURL(7));
    const auto moved = Fetch(server, "/page/3");
    EXPECT_EQ(moved.status, 301);
    EXPECT_EQ(moved.Header("Location"), "http://127.0.0.1:9/x");
}

TEST(Faults, PathFaultWinsAndReachesAnyPath) {
    auto options = WithResultFaults({{2, Fault::WithStatus(404)}});
    options.pathFaults = {{"/page/2.pdf", Fault::WithStatus(410)},
                          {"/robots.txt", Fault::WithStatus(503)},
                          {"/google/search", Fault::WithStatus(429)}};
    SerpDouble server(options);
    server.Start();
    EXPECT_EQ(Fetch(server, "/page/2.pdf").status, 410);
    EXPECT_EQ(Fetch(server, "/page/2").status, 404);
    EXPECT_EQ(Fetch(server, "/robots.txt").status, 503);
    EXPECT_EQ(Fetch(server, SearchTarget(server, "k")).status, 429);
}

TEST(Faults, ResultsPageKFailsOrHasNoLinks) {
    SerpDouble::Options options;
    options.totalResults = 40;
    options.resultsPageFaults = {{2, Fault::WithStatus(500)}};
    options.emptyResultsPages = {3};
    SerpDouble server(options);
    server.Start();
    EXPECT_EQ(Fetch(server, SearchTarget(server, "k")).status, 200);
    EXPECT_EQ(Fetch(server, SearchTarget(server, "k", "&start=10")).status, 500);
    EXPECT_EQ(Fetch(server, SearchTarget(server, "k", "&start=5&num=5")).status, 500);
    const auto empty = Fetch(server, SearchTarget(server, "k", "&start=20"));
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(EntryLinks(empty.body).empty());
    EXPECT_TRUE(HasNavigationBar(empty.body));  // only the missing links may end paging
}

TEST(Faults, DelayedAndLateAnswersArriveWhole) {
    auto options = WithResultFaults({{2, Fault::DelayBy(30ms)}});
    options.latency = 10ms;
    SerpDouble server(options);
    server.Start();
    const auto reply = Fetch(server, "/page/2");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, server.ExpectedBody(2));
    EXPECT_EQ(Fetch(server, SearchTarget(server, "k")).status, 200);
}

TEST(Faults, StopCutsALongDelayShort) {
    SerpDouble server(WithResultFaults({{2, Fault::DelayBy(10min)}}));
    server.Start();
    test::PrimeClient(server);
    auto reply = std::async(std::launch::async, [&] { return Fetch(server, "/page/2"); });
    ASSERT_TRUE(server.WaitFor([](const Stats& s) { return s.inFlight == 1; }, kPatience));
    server.Stop();
    EXPECT_NE(reply.get().status, 200);
}

TEST(Faults, StallHoldsTheAnswerUntilStop) {
    SerpDouble server(WithResultFaults({{2, Fault::StallForever()}}));
    server.Start();
    test::PrimeClient(server);
    auto reply = std::async(std::launch::async, [&] { return Fetch(server, "/page/2"); });
    ASSERT_TRUE(Stalled(server, 1));
    EXPECT_EQ(Fetch(server, "/page/3").status, 200);  // others are still served
    EXPECT_EQ(reply.wait_for(0s), std::future_status::timeout);
    server.Stop();
    EXPECT_NE(reply.get().status, 200);
    EXPECT_EQ(server.Snapshot().stalled, 0);
}

TEST(Faults, PartialBodyThenStallBreaksTheTransfer) {
    SerpDouble server(WithResultFaults({{2, Fault::PartialThenStallAfter(100)}}));
    server.Start();
    test::PrimeClient(server);
    std::promise<void> partArrived;
    std::string received;
    std::string length;
    auto outcome = std::async(std::launch::async, [&] {
        httplib::Client client("127.0.0.1", server.Port());
        client.set_read_timeout(30, 0);
        return client
            .Get(
                "/page/2",
                [&](const httplib::Response& head) {
                    length = head.get_header_value("Content-Length");
                    return true;
                },
                [&](const char* data, std::size_t size) {
                    received.append(data, size);
                    if (received.size() == 100) partArrived.set_value();
                    return true;
                })
            .error();
    });
    ASSERT_EQ(partArrived.get_future().wait_for(kPatience), std::future_status::ready);
    ASSERT_TRUE(Stalled(server, 1));
    server.Stop();
    EXPECT_NE(outcome.get(), httplib::Error::Success);
    EXPECT_EQ(length, "4096");
    EXPECT_EQ(received, server.ExpectedBody(2).substr(0, 100));
}

TEST(Faults, StallsBeyondThePoolDoNotHoldStop) {
    auto options = WithResultFaults({});
    options.threads = 2;
    for (int i = 1; i <= 5; ++i) options.resultFaults[i] = Fault::StallForever();
    SerpDouble server(options);
    server.Start();
    test::PrimeClient(server);
    std::vector<std::future<test::Reply>> replies;
    for (int i = 1; i <= 5; ++i) {
        replies.push_back(std::async(std::launch::async, [&server, i] {
            return Fetch(server, "/page/" + std::to_string(i));
        }));
    }
    ASSERT_TRUE(Stalled(server, 2));  // the other three wait in the pool's queue
    server.Stop();
    for (auto& reply : replies) EXPECT_NE(reply.get().status, 200);
}

}  // namespace
}  // namespace serpdouble
