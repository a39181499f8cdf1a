#include <gtest/gtest.h>

#include <future>

#include "Fetch.h"
#include "serpdouble/SerpDouble.h"

namespace serpdouble {
namespace {

using namespace std::chrono_literals;
using test::Fetch;
using test::SearchTarget;

TEST(Counters, CountRequestsPerPathKindInArrivalOrder) {
    SerpDouble server;
    server.Start();
    Fetch(server, SearchTarget(server, "k"));
    Fetch(server, "/page/1");
    Fetch(server, "/page/2.pdf");
    Fetch(server, "/favicon.ico");
    Fetch(server, SearchTarget(server, "k", "&start=10"));
    // The server is done with a request a moment after its client has the answer.
    ASSERT_TRUE(server.WaitFor([](const Stats& s) { return s.inFlight == 0; }, 20s));
    const auto stats = server.Snapshot();
    EXPECT_EQ(stats.searchRequests, 2);
    EXPECT_EQ(stats.pageRequests, 2);
    EXPECT_EQ(stats.otherRequests, 1);
    EXPECT_EQ(stats.Requests(), 5);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[2].target, "/page/2.pdf");
    EXPECT_EQ(requests[2].kind, PathKind::Page);
    EXPECT_EQ(requests[4].target, "/google/search?hl=en&q=k&start=10");
}

TEST(Counters, KeepTheLastRequestsHeaders) {
    SerpDouble server;
    server.Start();
    const auto url = server.PageURL(3);
    Fetch(server, "/page/3", {{"GET", url}, {"Range", "bytes=0-9"}});
    const auto last = server.Snapshot().last;
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->Header("get"), url);
    EXPECT_EQ(last->Header("RANGE"), "bytes=0-9");
    EXPECT_EQ(last->Header("REMOTE_ADDR"), std::nullopt);  // not sent by the client
    Fetch(server, "/page/4");
    EXPECT_EQ(server.Snapshot().last->Header("Range"), std::nullopt);
}

TEST(Counters, SeeEveryRequestInFlightAtOnce) {
    SerpDouble::Options options;
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
    ASSERT_TRUE(server.WaitFor([](const Stats& s) { return s.stalled == 5; }, 20s));
    EXPECT_EQ(server.Snapshot().inFlight, 5);
    server.Stop();
    for (auto& reply : replies) reply.get();
    const auto stats = server.Snapshot();
    EXPECT_EQ(stats.inFlight, 0);
    EXPECT_EQ(stats.maxInFlight, 5);
}

TEST(Counters, ResetClearsCountsAndTheLog) {
    SerpDouble server;
    server.Start();
    Fetch(server, "/page/1");
    ASSERT_TRUE(server.WaitFor([](const Stats& s) { return s.inFlight == 0; }, 20s));
    server.ResetStats();
    const auto stats = server.Snapshot();
    EXPECT_EQ(stats.Requests(), 0);
    EXPECT_EQ(stats.maxInFlight, 0);
    EXPECT_FALSE(stats.last.has_value());
    EXPECT_TRUE(server.Requests().empty());
    Fetch(server, "/page/1");
    EXPECT_EQ(server.Snapshot().pageRequests, 1);
}

}  // namespace
}  // namespace serpdouble
