#include <gtest/gtest.h>

#include "Fetch.h"
#include "parser/CGP.h"
#include "serpdouble/SerpDouble.h"

namespace serpdouble {
namespace {

using test::Fetch;
using test::SearchTarget;

struct Parsed {
    std::vector<std::string> urls;
    bool noMorePages = false;
};

Parsed Parse(const std::string& page) {
    const auto record = fetchcore::CGP().ParsePage(page);
    Parsed parsed;
    parsed.noMorePages = record->Fields().Item("NoMorePages").Values().Item(1).ToBool();
    for (const auto& child : record->Children()) {
        parsed.urls.push_back(child.Fields().Item("URL").Values().Item(1).ToString());
    }
    return parsed;
}

Parsed FetchAndParse(const SerpDouble& server, const std::string& paging) {
    const auto reply = Fetch(server, SearchTarget(server, "kestrova double", paging));
    EXPECT_EQ(reply.status, 200);
    return Parse(reply.body);
}

// What a correct reader takes from results from..to, skipping what it must skip.
std::vector<std::string> Expected(const SerpDouble& server, int from, int to) {
    std::vector<std::string> urls;
    for (int i = from; i <= to; ++i) {
        if (const auto link = server.ResultLink(i)) urls.push_back(*link);
    }
    return urls;
}

TEST(ParserReadsDouble, EveryPageYieldsItsLinksAndTheLastEndsPaging) {
    SerpDouble::Options options;
    options.totalResults = 25;
    options.links = {{2, LinkKind::Pdf},      {3, LinkKind::PostScriptUpper},
                     {4, LinkKind::Https},    {5, LinkKind::Repeat},
                     {6, LinkKind::Entities}, {7, LinkKind::UpperScheme},
                     {8, LinkKind::Relative}, {12, LinkKind::Entities}};
    SerpDouble server(options);
    server.Start();
    for (const auto& [paging, from, to, last] :
         std::vector<std::tuple<std::string, int, int, bool>>{
             {"", 1, 10, false}, {"&start=10", 11, 20, false}, {"&start=20", 21, 25, true}}) {
        const auto parsed = FetchAndParse(server, paging);
        EXPECT_EQ(parsed.urls, Expected(server, from, to)) << paging;
        EXPECT_EQ(parsed.noMorePages, last) << paging;
    }
    EXPECT_EQ(FetchAndParse(server, "").urls.size(), 9u);  // the relative link is skipped
}

TEST(ParserReadsDouble, OmittedNoticeEndsPagingDespiteTheBar) {
    SerpDouble::Options options;
    options.totalResults = 4;
    options.omittedNotice = true;
    SerpDouble server(options);
    server.Start();
    const auto reply = Fetch(server, SearchTarget(server, "k"));
    EXPECT_TRUE(test::HasNavigationBar(reply.body));
    const auto parsed = Parse(reply.body);
    EXPECT_TRUE(parsed.noMorePages);
    EXPECT_EQ(parsed.urls, Expected(server, 1, 4));
}

TEST(ParserReadsDouble, PageWithoutLinksIsNotTheLast) {
    SerpDouble::Options options;
    options.totalResults = 30;
    options.emptyResultsPages = {2};
    SerpDouble server(options);
    server.Start();
    const auto parsed = FetchAndParse(server, "&start=10");
    EXPECT_TRUE(parsed.urls.empty());
    EXPECT_FALSE(parsed.noMorePages);
}

TEST(ParserReadsDouble, HundredLinksOnOnePage) {
    SerpDouble::Options options;
    options.totalResults = 250;
    SerpDouble server(options);
    server.Start();
    const auto parsed = FetchAndParse(server, "&start=100&num=100");
    EXPECT_EQ(parsed.urls, Expected(server, 101, 200));
    EXPECT_FALSE(parsed.noMorePages);
}

}  // namespace
}  // namespace serpdouble
