#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParsedPage.h"

namespace {

using Links = std::vector<std::string>;

const std::string kStart = "<span class=tbpc>Show options...</span>";
const std::string kHeading = "<h2 class=hd>Search Results</h2>";
const std::string kOmittedNotice =
    "In order to show you the most relevant results, we have omitted some entries very "
    "similar to the 3 already displayed.";

TEST(EndOfResults, EmptyPageGivesNoLinksAndNoMorePages) {
    const auto record = fetchcore::CGP().ParsePage("");
    EXPECT_EQ(record->Children().Count(), 0);
    EXPECT_EQ(record->Fields().Count(), 1);
    EXPECT_TRUE(ValueOf(*record, "NoMorePages").IsBool());
    EXPECT_TRUE(ValueOf(*record, "NoMorePages").ToBool());
}

TEST(EndOfResults, FollowsTheNavigationBarAndTheOmittedNotice) {
    const std::string entries = LinkEntry("http://a.example/") + LinkEntry("http://b.example/");
    const ParsedPage withBar = Parse(ResultsPage(entries));
    EXPECT_FALSE(withBar.noMorePages);
    EXPECT_EQ(withBar.urls.size(), 2u);

    const ParsedPage withoutBar = Parse(ResultsPage(entries, false));
    EXPECT_TRUE(withoutBar.noMorePages);
    EXPECT_EQ(withoutBar.urls, withBar.urls);

    EXPECT_TRUE(Parse(ResultsPage(entries + kOmittedNotice)).noMorePages);
}

TEST(EndOfResults, OnlyTextFromThePageStartMarkerOnCounts) {
    const std::string section = kHeading + "<div>" + LinkEntry("http://a.example/");
    EXPECT_TRUE(Parse("<div id=navcnt>" + kStart + section).noMorePages);
    EXPECT_FALSE(Parse(kOmittedNotice + kStart + section + "<div id=navcnt>").noMorePages);
    // Without the marker the whole page counts.
    EXPECT_FALSE(Parse("<div id=navcnt>" + section).noMorePages);
}

TEST(EndOfResults, IsDecidedBeforeBoldTagsAreRemoved) {
    EXPECT_TRUE(
        Parse(ResultsPage(LinkEntry("http://a/"), false) + "<div id=<b>navcnt>").noMorePages);
    EXPECT_FALSE(Parse(ResultsPage("In order to show you the most relevant results, we "
                                   "have <b>omitted</b> some entries very similar to the"))
                     .noMorePages);
}

TEST(EndOfResults, DoesNotDependOnTheLinksFound) {
    EXPECT_FALSE(Parse(ResultsPage("")).noMorePages);
    EXPECT_FALSE(Parse(kStart + "<div id=navcnt>").noMorePages);
}

TEST(ResultsSection, WithoutTheHeadingThereAreNoLinks) {
    std::string page = ResultsPage(LinkEntry("http://a.example/"));
    page.replace(page.find(kHeading), kHeading.size(), "<h2 class=hd>Results</h2>");
    const ParsedPage parsed = Parse(page);
    EXPECT_TRUE(parsed.urls.empty());
    EXPECT_FALSE(parsed.noMorePages);
}

TEST(ResultsSection, HeadingIsFoundOnceBoldTagsAreGone) {
    const std::string page =
        kStart + "<h2 class=hd>Search <B>Results</b></h2><div>" + LinkEntry("http://a/");
    EXPECT_EQ(LinksOf(page), Links{"http://a/"});
}

TEST(ResultsSection, EntriesBeforeTheHeadingAreIgnored) {
    const std::string page =
        kStart + LinkEntry("http://before/") + kHeading + "<div>" + LinkEntry("http://after/");
    EXPECT_EQ(LinksOf(page), Links{"http://after/"});
}

TEST(ResultsSection, EndsAtTheFirstScriptAfterTheListStart) {
    const std::string page =
        ResultsPage(LinkEntry("http://a/") + "<script>x()</script>" + LinkEntry("http://b/"));
    EXPECT_EQ(LinksOf(page), Links{"http://a/"});

    // A script between the heading and the list's first "<div" is cut away with the
    // heading and does not end the section.
    const std::string early = kStart + kHeading + "<script>x()</script><div>" +
                              LinkEntry("http://a/") + "<SCRIPT>" + LinkEntry("http://b/");
    EXPECT_EQ(LinksOf(early), (Links{"http://a/", "http://b/"}));
}

TEST(Entries, OnlyLowerCaseH3StartsAnEntry) {
    const std::string entries = "<h3><a href=\"http://a/\">A</a><H3><a href=\"http://b/\">" +
                                std::string("<h3 class=r><a href=\"http://c/\">") +
                                "<h3><a href=\"http://d/\">";
    EXPECT_EQ(LinksOf(ResultsPage(entries)), (Links{"http://a/", "http://c/", "http://d/"}));
}

TEST(Entries, EachGivesOnlyItsFirstLink) {
    const std::string entries = "<h3><a href=\"http://first/\">A</a><a href=\"http://second/\">";
    EXPECT_EQ(LinksOf(ResultsPage(entries)), Links{"http://first/"});
}

TEST(Entries, WithoutLinkOrWithEmptyLinkAreSkipped) {
    const std::string entries = "<h3>no link</h3>" + LinkEntry("http://a/") +
                                "<h3><a href=" + Entry("href=\"\"") + "<h3><a href=";
    const ParsedPage parsed = Parse(ResultsPage(entries));
    EXPECT_EQ(parsed.urls, Links{"http://a/"});
    EXPECT_EQ(parsed.positions, std::vector<int>{1});
}

TEST(Entries, RepeatedLinksAreKeptWithConsecutivePositions) {
    const ParsedPage parsed = Parse(
        ResultsPage(LinkEntry("http://a/") + LinkEntry("http://a/") + LinkEntry("http://b/")));
    EXPECT_EQ(parsed.urls, (Links{"http://a/", "http://a/", "http://b/"}));
    EXPECT_EQ(parsed.positions, (std::vector<int>{1, 2, 3}));
}

TEST(Entries, BoldTagsInsideLinksAreRemoved) {
    EXPECT_EQ(LinksOf(ResultsPage(LinkEntry("http://a/<b>x</B>y<B>z</b>"))), Links{"http://a/xyz"});
}

TEST(LinkFilter, SkippedLinksDoNotAdvancePos) {
    const std::string entries = LinkEntry("/search?q=related") + LinkEntry("http://a/") +
                                LinkEntry("ftp://files/") + LinkEntry("javascript:void(0)") +
                                LinkEntry("htt") + LinkEntry("https://b/");
    const ParsedPage parsed = Parse(ResultsPage(entries));
    EXPECT_EQ(parsed.urls, (Links{"http://a/", "https://b/"}));
    EXPECT_EQ(parsed.positions, (std::vector<int>{1, 2}));
}

TEST(LinkFilter, SchemeInCapitalsIsAcceptedUnchanged) {
    EXPECT_EQ(LinksOf(ResultsPage(LinkEntry("HTTP://Example.COM/A") + LinkEntry("HtTpS://b/"))),
              (Links{"HTTP://Example.COM/A", "HtTpS://b/"}));
}

TEST(LinkFilter, CacheAndNewsLinksAreSkippedOnlyInTheirExactForm) {
    const std::string entries = LinkEntry("http://74.125.153.132/search?q=cache:x") +
                                LinkEntry("http://news.google.com/news?q=x") +
                                LinkEntry("HTTP://74.125.153.132/search?q=cache:x") +
                                LinkEntry("http://NEWS.google.com/news") +
                                LinkEntry("http://news.google.com");
    EXPECT_EQ(LinksOf(ResultsPage(entries)),
              (Links{"HTTP://74.125.153.132/search?q=cache:x", "http://NEWS.google.com/news",
                     "http://news.google.com"}));
}

TEST(LinkQuoting, QuotedLinksEndAtTheirClosingQuote) {
    const std::string entries =
        Entry("href=\"http://a/b c\" class=l") + Entry("href='http://b/' class='l'") +
        Entry("href=\"http://c/O'Brien\" onclick='x'") + Entry("href='http://d/say\"hi\"' class=l");
    EXPECT_EQ(LinksOf(ResultsPage(entries)),
              (Links{"http://a/b c", "http://b/", "http://c/O'Brien", "http://d/say\"hi\""}));
}

TEST(LinkQuoting, UnquotedLinksEndAtABlankTheTagEndOrAQuote) {
    const std::string entries = Entry("href=http://a/x class=l") + Entry("href=http://b/y") +
                                Entry("href=http://c/\tz") + Entry("href=http://d/\"x\"") +
                                "<h3>href=http://e/it's";
    EXPECT_EQ(LinksOf(ResultsPage(entries)),
              (Links{"http://a/x", "http://b/y", "http://c/", "http://d/", "http://e/it"}));
}

TEST(LinkQuoting, AnUnclosedQuoteRunsToTheEntryEnd) {
    const std::string entries = "<h3><a href=\"http://a/x y<h3><a href=\"http://b/\">";
    EXPECT_EQ(LinksOf(ResultsPage(entries)), (Links{"http://a/x y", "http://b/"}));
}

TEST(Entities, AreDecodedOnceAfterTheLinkIsCut) {
    const std::string entries =
        LinkEntry("http://a/?x=1&amp;y=2") + LinkEntry("http://b/&amp;lt;&amp;amp;") +
        LinkEntry("http://c/&gt;&lt;&quot;&#39;") + LinkEntry("http://d/&AMP;&nbsp;&&amp");
    EXPECT_EQ(LinksOf(ResultsPage(entries)),
              (Links{"http://a/?x=1&y=2", "http://b/&lt;&amp;", "http://c/><\"'",
                     "http://d/&AMP;&nbsp;&&amp"}));
}

}  // namespace
