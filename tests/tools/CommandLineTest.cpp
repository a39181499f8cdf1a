#include "serpdouble/CommandLine.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace serpdouble {
namespace {

TEST(CommandLine, ReadsEveryOption) {
    const auto line = ParseCommandLine({"--port",
                                        "8123",
                                        "--results",
                                        "120",
                                        "--page-size",
                                        "0",
                                        "--latency",
                                        "25",
                                        "--omitted",
                                        "--no-range",
                                        "--keep-alive",
                                        "--content",
                                        "binary",
                                        "--link",
                                        "3:pdf",
                                        "--link",
                                        "4:repeat",
                                        "--fail-result",
                                        "5:404",
                                        "--redirect-result",
                                        "6:http://127.0.0.1:1/x",
                                        "--delay-result",
                                        "7:40",
                                        "--stall-result",
                                        "8",
                                        "--partial-result",
                                        "9:100",
                                        "--fail-results-page",
                                        "2:500",
                                        "--empty-results-page",
                                        "3",
                                        "--threads",
                                        "4",
                                        "--searxng-page-size",
                                        "20",
                                        "--unresponsive",
                                        "google:CAPTCHA: too many",
                                        "--rate-limit",
                                        "2:Sun, 06 Nov 1994 08:49:37 GMT",
                                        "--brave-key",
                                        "k3y"});
    const auto& o = line.options;
    EXPECT_FALSE(line.help);
    EXPECT_EQ(o.port, 8123);
    EXPECT_EQ(o.totalResults, 120);
    EXPECT_EQ(o.pageSize, 0u);
    EXPECT_EQ(o.latency.count(), 25);
    EXPECT_TRUE(o.omittedNotice);
    EXPECT_FALSE(o.honourRange);
    EXPECT_TRUE(o.keepAlive);
    EXPECT_EQ(o.content, PageContent::Binary);
    EXPECT_EQ(o.links.at(3), LinkKind::Pdf);
    EXPECT_EQ(o.links.at(4), LinkKind::Repeat);
    EXPECT_EQ(o.resultFaults.at(5).status, 404);
    EXPECT_EQ(o.resultFaults.at(6).location, "http://127.0.0.1:1/x");  // split at the first colon
    EXPECT_EQ(o.resultFaults.at(7).delay.count(), 40);
    EXPECT_EQ(o.resultFaults.at(8).kind, Fault::Kind::Stall);
    EXPECT_EQ(o.resultFaults.at(9).partialBytes, 100u);
    EXPECT_EQ(o.resultsPageFaults.at(2).status, 500);
    EXPECT_TRUE(o.emptyResultsPages.contains(3));
    EXPECT_EQ(o.threads, 4);
    EXPECT_EQ(o.searxngPageSize, 20);
    EXPECT_EQ(o.unresponsiveEngines,
              (std::vector<std::pair<std::string, std::string>>{{"google", "CAPTCHA: too many"}}));
    EXPECT_EQ(o.rateLimit.times, 2);
    EXPECT_EQ(o.rateLimit.status, 429);
    EXPECT_EQ(o.rateLimit.retryAfter, "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(o.braveKey, "k3y");
}

TEST(CommandLine, DefaultsAndHelp) {
    const auto line = ParseCommandLine({"--help"});
    EXPECT_TRUE(line.help);
    EXPECT_EQ(line.options.port, 0);
    EXPECT_TRUE(line.options.honourRange);
    EXPECT_NE(Usage().find("--page-size"), std::string::npos);
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--port"},
        {"--port", "65536"},
        {"--results", "-1"},
        {"--latency", "x"},
        {"--link", "3"},
        {"--link", "3:gif"},
        {"--link", "0:pdf"},
        {"--fail-result", "2:99"},
        {"--content", "utf8"},
        {"--threads", "0"},
        {"--results", "12abc"},
        {"--unresponsive", "google"},
        {"--unresponsive", ":x"},
        {"--searxng-page-size", "0"},
        {"--rate-limit", "2"},
        {"--rate-limit", "0:5"},
    };
    for (const auto& args : bad) {
        EXPECT_THROW(ParseCommandLine(args), std::invalid_argument) << args[0];
    }
}

}  // namespace
}  // namespace serpdouble
