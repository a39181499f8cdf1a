#include <gtest/gtest.h>

#include <future>
#include <regex>
#include <stdexcept>

#include "Fetch.h"
#include "serpdouble/SerpDouble.h"

namespace serpdouble {
namespace {

using test::EntryLinks;
using test::Fetch;
using test::HasNavigationBar;
using test::HasOmittedNotice;
using test::SearchTarget;

SerpDouble::Options WithResults(int total) {
    SerpDouble::Options options;
    options.totalResults = total;
    return options;
}

std::vector<std::string> PlainLinks(const SerpDouble& server, int from, int to) {
    std::vector<std::string> links;
    for (int i = from; i <= to; ++i) links.push_back(server.PageURL(i));
    return links;
}

std::string ResultsPage(const SerpDouble& server, const std::string& paging) {
    const auto reply = Fetch(server, SearchTarget(server, "kestrova", paging));
    EXPECT_EQ(reply.status, 200) << paging;
    return reply.body;
}

TEST(Serving, PagesHonourStartNumAndTheTotal) {
    SerpDouble server(WithResults(23));
    server.Start();
    EXPECT_EQ(EntryLinks(ResultsPage(server, "")), PlainLinks(server, 1, 10));
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&start=10")), PlainLinks(server, 11, 20));
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&start=20")), PlainLinks(server, 21, 23));
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&start=5&num=3")), PlainLinks(server, 6, 8));
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&num=1&start=22")), PlainLinks(server, 23, 23));
    EXPECT_TRUE(EntryLinks(ResultsPage(server, "&start=30")).empty());
}

TEST(Serving, SearxngAnswersPageByPagenoAndRefusesWithoutFormatJson) {
    auto options = WithResults(23);
    options.searxngPageSize = 10;
    options.unresponsiveEngines = {{"bing", "timeout"}};
    SerpDouble server(options);
    server.Start();
    const auto page = [&](const std::string& pageno) {
        const auto reply = Fetch(server, "/search?q=kestrova&format=json" + pageno);
        EXPECT_EQ(reply.status, 200) << pageno;
        EXPECT_EQ(reply.Header("Content-Type"), "application/json") << pageno;
        return reply.body;
    };
    const auto urls = [&](const std::string& body) {
        std::vector<std::string> found;
        const std::regex url(R"re("url":"([^"]*)")re");
        for (std::sregex_iterator it(body.begin(), body.end(), url), end; it != end; ++it) {
            found.push_back((*it)[1]);
        }
        return found;
    };
    EXPECT_EQ(urls(page("")), PlainLinks(server, 1, 10));
    EXPECT_EQ(urls(page("&pageno=3")), PlainLinks(server, 21, 23));
    EXPECT_TRUE(urls(page("&pageno=4")).empty());
    EXPECT_NE(page("&pageno=1").find(R"("unresponsive_engines":[["bing","timeout"]])"),
              std::string::npos);
    EXPECT_EQ(Fetch(server, "/search?q=kestrova").status, 403);
    EXPECT_EQ(Fetch(server, "/search?q=kestrova&format=html").status, 403);
}

TEST(Serving, OddPagingValuesFallBackLikeTheEngine) {
    SerpDouble server(WithResults(150));
    server.Start();
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&num=500")).size(), 100u);
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&num=abc")), PlainLinks(server, 1, 10));
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&start=-5")), PlainLinks(server, 1, 10));
    EXPECT_EQ(EntryLinks(ResultsPage(server, "&num=0")).size(), 1u);
}

TEST(Serving, NavigationBarOnEveryPageButTheLast) {
    SerpDouble server(WithResults(20));
    server.Start();
    EXPECT_TRUE(HasNavigationBar(ResultsPage(server, "")));
    EXPECT_FALSE(HasNavigationBar(ResultsPage(server, "&start=10")));  // ends exactly here
    EXPECT_TRUE(HasNavigationBar(ResultsPage(server, "&start=10&num=5")));
    EXPECT_FALSE(HasNavigationBar(ResultsPage(server, "&start=15&num=5")));
    EXPECT_FALSE(HasOmittedNotice(ResultsPage(server, "&start=10")));
}

TEST(Serving, NoResultsAtAllGivesAnEmptyLastPage) {
    SerpDouble server(WithResults(0));
    server.Start();
    const auto page = ResultsPage(server, "");
    EXPECT_TRUE(EntryLinks(page).empty());
    EXPECT_FALSE(HasNavigationBar(page));
}

TEST(Serving, OmittedNoticeOnlyOnTheLastPage) {
    auto options = WithResults(15);
    options.omittedNotice = true;
    SerpDouble server(options);
    server.Start();
    EXPECT_FALSE(HasOmittedNotice(ResultsPage(server, "")));
    const auto last = ResultsPage(server, "&start=10");
    EXPECT_TRUE(HasOmittedNotice(last));
    EXPECT_EQ(EntryLinks(last), PlainLinks(server, 11, 15));
}

TEST(Serving, ConfiguredLinkKindsStandInThePage) {
    auto options = WithResults(8);
    options.links = {{2, LinkKind::Pdf},      {3, LinkKind::PostScriptUpper},
                     {4, LinkKind::Https},    {5, LinkKind::Repeat},
                     {6, LinkKind::Entities}, {7, LinkKind::UpperScheme},
                     {8, LinkKind::Relative}};
    SerpDouble server(options);
    server.Start();
    const auto base = server.BaseURL();
    const std::vector<std::string> expected = {base + "/page/1",
                                               base + "/page/2.pdf",
                                               base + "/page/3.PS",
                                               "https" + base.substr(4) + "/page/4",
                                               "https" + base.substr(4) + "/page/4",
                                               base + "/page/6?a=1&amp;b=2",
                                               "HTTP" + base.substr(4) + "/page/7",
                                               "/page/8"};
    EXPECT_EQ(EntryLinks(ResultsPage(server, "")), expected);
    EXPECT_EQ(server.ResultLink(5), server.ResultLink(4));
}

TEST(Serving, KeywordOfTheSearchAddressReachesThePage) {
    SerpDouble server(WithResults(30));
    server.Start();
    EXPECT_EQ(server.SearchURL("two words&x"),
              server.BaseURL() + "/google/search?hl=en&q=two+words%26x");
    const auto reply = Fetch(server, SearchTarget(server, "two \"<h3>\" words"));
    EXPECT_NE(reply.body.find("<title>two &quot;&lt;h3&gt;&quot; words - Google Search</title>"),
              std::string::npos);
    EXPECT_EQ(EntryLinks(reply.body).size(), 10u);
    EXPECT_EQ(reply.Header("Content-Type"), "text/html; charset=UTF-8");
}

TEST(Serving, ResultPagesHaveTheirSizeAndContent) {
    SerpDouble::Options options;
    options.pageSize = 1500;
    options.pageSizes = {{3, 200000}, {4, 0}};
    options.content = PageContent::Binary;
    SerpDouble server(options);
    server.Start();
    const auto big = Fetch(server, "/page/3");
    EXPECT_EQ(big.status, 200);
    EXPECT_EQ(big.body.size(), 200000u);
    EXPECT_EQ(big.body, server.ExpectedBody(3));
    const auto pdf = Fetch(server, "/page/2.pdf");
    EXPECT_EQ(pdf.body, server.ExpectedBody(2));
    EXPECT_EQ(pdf.body.size(), 1500u);
    EXPECT_EQ(pdf.Header("Content-Type"), "application/pdf");
    const auto empty = Fetch(server, "/page/4");
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(empty.body.empty());
}

TEST(Serving, RangeIsHonouredWhenAsked) {
    SerpDouble server;
    server.Start();
    const auto body = server.ExpectedBody(1);
    const auto slice = Fetch(server, "/page/1", {{"Range", "bytes=0-99"}});
    EXPECT_EQ(slice.status, 206);
    EXPECT_EQ(slice.body, body.substr(0, 100));
    EXPECT_EQ(slice.Header("Content-Range"), "bytes 0-99/4096");
    const auto beyond = Fetch(server, "/page/1", {{"Range", "bytes=0-102399"}});
    EXPECT_EQ(beyond.status, 206);
    EXPECT_EQ(beyond.body, body);
    EXPECT_EQ(Fetch(server, "/page/1", {{"Range", "bytes=5000-"}}).status, 416);
    EXPECT_EQ(Fetch(server, "/page/1").status, 200);
}

TEST(Serving, ConcurrentClientsEachGetTheirOwnSlice) {
    SerpDouble::Options options;
    options.content = PageContent::HighBytes;
    SerpDouble server(options);
    server.Start();
    test::PrimeClient(server);
    std::vector<std::future<test::Reply>> replies;
    for (int i = 1; i <= 8; ++i) {
        replies.push_back(std::async(std::launch::async, [&server, i] {
            return Fetch(server, "/page/" + std::to_string(i), {{"Range", "bytes=0-2999"}});
        }));
    }
    for (int i = 1; i <= 8; ++i) {
        const auto reply = replies[i - 1].get();
        EXPECT_EQ(reply.status, 206);
        EXPECT_EQ(reply.body, server.ExpectedBody(i).substr(0, 3000)) << i;
    }
}

TEST(Serving, RangeIsIgnoredWhenNotHonoured) {
    SerpDouble::Options options;
    options.honourRange = false;
    SerpDouble server(options);
    server.Start();
    const auto whole = Fetch(server, "/page/1", {{"Range", "bytes=0-99"}});
    EXPECT_EQ(whole.status, 200);
    EXPECT_EQ(whole.body, server.ExpectedBody(1));
    EXPECT_TRUE(whole.Header("Content-Range").empty());
}

TEST(Serving, CountsTheConnectionsClientsOpenAndKeepsThemOnlyWhenAsked) {
    const auto threeRequests = [](const SerpDouble& server) {
        httplib::Client client("127.0.0.1", server.Port());
        client.set_keep_alive(true);
        for (int i = 1; i <= 3; ++i) {
            const auto reply = client.Get(("/page/" + std::to_string(i)).c_str());
            EXPECT_TRUE(reply && reply->status == 200);
        }
        return server.Snapshot();
    };
    SerpDouble closing;
    closing.Start();
    const auto closed = threeRequests(closing);
    EXPECT_EQ(closed.pageRequests, 3);
    EXPECT_EQ(closed.connections, 3) << "every answer closes its connection";

    SerpDouble::Options options;
    options.keepAlive = true;
    SerpDouble keeping(options);
    keeping.Start();
    const auto kept = threeRequests(keeping);
    EXPECT_EQ(kept.pageRequests, 3);
    EXPECT_EQ(kept.connections, 1);
}

TEST(Serving, OtherPathsAreNotFound) {
    SerpDouble server;
    server.Start();
    EXPECT_EQ(Fetch(server, "/other/search?q=x").status, 404);  // /search is SearXNG's
    EXPECT_EQ(Fetch(server, "/page/0").status, 404);
    EXPECT_EQ(Fetch(server, "/page/x").status, 404);
}

TEST(Serving, GivenPortIsUsedAndATakenOneRefused) {
    SerpDouble first;
    first.Start();
    SerpDouble::Options same;
    same.port = first.Port();
    SerpDouble second(same);
    EXPECT_THROW(second.Start(), std::runtime_error);
    EXPECT_FALSE(second.Running());

    const auto port = first.Port();
    first.Stop();
    SerpDouble again(same);
    again.Start();
    EXPECT_EQ(again.Port(), port);
    EXPECT_EQ(Fetch(again, "/page/1").status, 200);
}

TEST(Serving, StopIsIdempotentAndAStoppedDoubleCanStartAgain) {
    SerpDouble server;
    server.Start();
    server.Start();  // already running: no second listener
    EXPECT_EQ(Fetch(server, "/page/1").status, 200);
    server.Stop();
    server.Stop();
    EXPECT_FALSE(server.Running());
    EXPECT_NE(Fetch(server, "/page/1").error, httplib::Error::Success);
    server.Start();
    EXPECT_EQ(Fetch(server, "/page/1").status, 200);
}

}  // namespace
}  // namespace serpdouble
