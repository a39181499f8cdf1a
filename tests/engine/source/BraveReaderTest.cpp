// Reading the Brave Search API's answers: which entries are results, when more are available,
// its error objects, and which addresses are its web search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fetchcore/BraveAddress.h"
#include "parser/CGP.h"
#include "source/BraveReader.h"
#include "tessel/Error.h"

using fetchcore::ReadBraveError;
using fetchcore::ReadBravePage;
using Strings = std::vector<std::string>;

namespace {

Strings Urls(const fetchcore::BravePage& page) {
    Strings urls;
    for (const auto& result : page.results) urls.push_back(result.url);
    return urls;
}

std::string BraveParseFailure(const std::string& text) {
    try {
        ReadBravePage(text);
    } catch (const tessel::ComError& e) {
        EXPECT_EQ(e.Number(), fetchcore::CGP::kErrCannotParsePage);
        return e.Description();
    }
    return "read without error";
}

TEST(BraveReader, TakesTheWebResultsWithHttpAddressesInOrderWithTitleAndDescription) {
    const auto page = ReadBravePage(R"({
        "type": "search",
        "query": {"original": "kites", "more_results_available": true},
        "mixed": {"type": "mixed", "main": [{"type": "web", "index": 0, "all": false}]},
        "news": {"results": [{"url": "http://news.example/1", "title": "not web"}]},
        "web": {"type": "search", "family_friendly": true, "results": [
            {"title": "Red <strong>kites</strong>", "url": "https://a.example/1",
             "description": "Birds of <strong>prey</strong>.", "type": "search_result",
             "profile": {"name": "A", "url": "https://a.example/"}, "extra_snippets": ["x"]},
            {"title": "relative", "url": "/r"},
            {"title": "no url"},
            {"url": "HTTP://B.example/2", "title": null},
            {"url": "mailto:c@example.org"},
            "not an object",
            {"url": "http://d.example/\u00e9", "description": 4}
        ]}})");
    EXPECT_EQ(Urls(page),
              (Strings{"https://a.example/1", "HTTP://B.example/2", "http://d.example/\xC3\xA9"}));
    EXPECT_EQ(page.results[0].title, "Red <strong>kites</strong>");
    EXPECT_EQ(page.results[0].snippet, "Birds of <strong>prey</strong>.");
    EXPECT_EQ(page.results[1].title, "");
    EXPECT_EQ(page.results[2].snippet, "");
    EXPECT_TRUE(page.moreResults);
}

TEST(BraveReader, ASearchWithoutResultsHasNoWebAndMayEndThePaging) {
    const auto last = ReadBravePage(
        R"({"type": "search", "query": {"original": "zzzz", "more_results_available": false}})");
    EXPECT_TRUE(last.results.empty());
    EXPECT_FALSE(last.moreResults);
    // An answer that does not say leaves the paging to the other end conditions.
    EXPECT_TRUE(ReadBravePage(R"({"type": "search", "web": {"results": []}})").moreResults);
    EXPECT_TRUE(ReadBravePage(R"({"type": "search", "query": {"more_results_available": "no"}})")
                    .moreResults);
}

TEST(BraveReader, AnythingButASearchAnswerIsTheParseError) {
    const std::string notBrave =
        "Cannot parse page. The answer is not a Brave Search API search answer.";
    for (const std::string text :
         {"", "[]", "null", "{}", "<html><body>Brave</body></html>", R"({"type": "Search"})",
          R"({"type": "ErrorResponse", "error": {"code": "VALIDATION"}})",
          R"({"type": "search", "web": )", R"({"results": [{"url": "http://a/"}]})"}) {
        EXPECT_EQ(BraveParseFailure(text), notBrave) << text;
    }
}

TEST(BraveReader, AnErrorAnswerGivesItsCodeAndDetail) {
    const auto error = ReadBraveError(
        R"({"type":"ErrorResponse","error":{"id":"ade8","status":422,
            "code":"SUBSCRIPTION_TOKEN_INVALID","detail":"The provided subscription token is invalid.",
            "meta":{}},"time":1754364294})");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, "SUBSCRIPTION_TOKEN_INVALID");
    EXPECT_EQ(error->detail, "The provided subscription token is invalid.");
    EXPECT_EQ(ReadBraveError(R"({"type":"ErrorResponse","error":{"status":429}})")->code, "");
    for (const std::string text : {"", "Too Many Requests", R"({"type":"search"})",
                                   R"({"type":"ErrorResponse"})", R"({"error":{"code":"X"}})"}) {
        EXPECT_FALSE(ReadBraveError(text)) << text;
    }
}

TEST(BraveAddress, AnyAddressWhosePathEndsInTheWebSearch) {
    using fetchcore::IsBraveAddress;
    EXPECT_TRUE(IsBraveAddress(fetchcore::kBraveSearchAddress));
    EXPECT_TRUE(IsBraveAddress("https://api.search.brave.com/res/v1/web/search?q=kites"));
    EXPECT_TRUE(IsBraveAddress("http://127.0.0.1:8080/res/v1/web/search?q=a&count=5"));
    EXPECT_TRUE(IsBraveAddress("https://proxy.example/brave/res/v1/web/search#top"));
    EXPECT_FALSE(IsBraveAddress("https://api.search.brave.com/res/v1/news/search?q=a"));
    EXPECT_FALSE(IsBraveAddress("https://api.search.brave.com/res/v1/web/search/?q=a"));
    EXPECT_FALSE(IsBraveAddress("https://x.example/search?q=/res/v1/web/search"));
    EXPECT_FALSE(IsBraveAddress("https://x.example/res/v2/web/search?q=a"));
    EXPECT_FALSE(IsBraveAddress("https://x.example/a#/res/v1/web/search"));
}

}  // namespace
