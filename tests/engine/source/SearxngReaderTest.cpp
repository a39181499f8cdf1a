// Reading SearXNG's JSON answers: which entries are results, and what is no answer at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser/CGP.h"
#include "source/SearxngReader.h"
#include "tessel/Error.h"

using fetchcore::ReadSearxngPage;
using Strings = std::vector<std::string>;

namespace {

Strings Urls(const fetchcore::SearxngPage& page) {
    Strings urls;
    for (const auto& result : page.results) urls.push_back(result.url);
    return urls;
}

const std::string kNotJson = "Cannot parse page. The answer is not a SearXNG JSON results object.";

std::string ParseFailure(const std::string& text) {
    try {
        ReadSearxngPage(text);
    } catch (const tessel::ComError& e) {
        EXPECT_EQ(e.Number(), fetchcore::CGP::kErrCannotParsePage);
        return e.Description();
    }
    return "read without error";
}

TEST(SearxngReader, TakesHttpAddressesInOrderAndPassesOverEverythingElse) {
    const auto page = ReadSearxngPage(R"({
        "query": "kites", "number_of_results": 0,
        "results": [
            {"url": "http://a.example/1", "title": "A \"kite\"", "content": "Red <b>kites</b>",
             "engines": ["bing"], "positions": [1]},
            {"url": "/relative", "title": "no scheme"},
            {"url": "HTTPS://B.example/2", "score": 2.5, "title": 7, "content": null},
            {"url": "ftp://c.example/3"},
            {"title": "no url at all"},
            {"url": null},
            {"url": 42},
            "not an object",
            {"url": "https:/d.example/one-slash"},
            {"url": "https://e.example/\u00e9t\u00e9?a=1&b=2"}
        ],
        "answers": [], "corrections": [], "infoboxes": [], "suggestions": []})");
    EXPECT_EQ(Urls(page), (Strings{"http://a.example/1", "HTTPS://B.example/2",
                                   "https://e.example/\xC3\xA9t\xC3\xA9?a=1&b=2"}));
    // Title and snippet as given, or empty where they are no text.
    EXPECT_EQ(page.results[0].title, "A \"kite\"");
    EXPECT_EQ(page.results[0].snippet, "Red <b>kites</b>");
    EXPECT_EQ(page.results[1].title, "");
    EXPECT_EQ(page.results[1].snippet, "");
    EXPECT_TRUE(page.unresponsive.empty());
}

TEST(SearxngReader, ReadsUnresponsiveEnginesAsNameAndReason) {
    const auto page = ReadSearxngPage(
        R"({"results": [], "unresponsive_engines": [["google", "CAPTCHA"], ["bing", "timeout"],
            ["qwant"], "brave"]})");
    ASSERT_EQ(page.unresponsive.size(), 4u);
    EXPECT_EQ(page.unresponsive[0], (std::pair<std::string, std::string>{"google", "CAPTCHA"}));
    EXPECT_EQ(fetchcore::DescribeEngines(page.unresponsive),
              "google (CAPTCHA), bing (timeout), qwant, brave");
}

TEST(SearxngReader, AnythingButAnObjectWithAResultsListIsTheParseError) {
    for (const std::string text :
         {"", "   ", "<!doctype html><html><body>SearXNG</body></html>", "[]", "null", "\"text\"",
          "{}", R"({"results": {}})", R"({"results": null})", R"({"results": [)",
          R"({"results": []} trailing)"}) {
        EXPECT_EQ(ParseFailure(text), kNotJson) << text;
    }
}

}  // namespace
