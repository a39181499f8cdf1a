#include "serpdouble/ResultsPage.h"

#include <gtest/gtest.h>

#include <string>

#include "Fetch.h"

namespace serpdouble {
namespace {

using test::EntryLinks;
using test::HasNavigationBar;
using test::HasOmittedNotice;

constexpr std::string_view kHeading = "<h2 class=hd>Search Results</h2>";

ResultsPage ThreeLinks() {
    return {
        "kestrova", "/google/search", 10, 10, 50, {"http://a/1", "http://a/2", "http://a/3"}, true,
        false};
}

std::size_t Count(const std::string& text, std::string_view what, std::size_t from = 0) {
    std::size_t n = 0;
    for (auto at = text.find(what, from); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(ResultsPage, MarkersStandInTheOrderAReaderCutsAt) {
    const auto html = RenderResultsPage(ThreeLinks());
    const auto start = html.find("<span class=tbpc>Show options...</span>");
    const auto heading = html.find(kHeading);
    const auto list = html.find("<div", heading);
    const auto firstEntry = html.find("<h3", heading);
    const auto bar = html.find("<div id=navcnt>");
    const auto sectionEnd = html.find("<script>", heading);
    ASSERT_NE(start, std::string::npos);
    EXPECT_LT(start, heading);
    EXPECT_LT(list, firstEntry);
    EXPECT_LT(firstEntry, bar);
    EXPECT_LT(bar, sectionEnd);
    EXPECT_EQ(Count(html.substr(0, sectionEnd), "<h3", heading), 3u);
    // Nothing before the page-start marker may look like a bar, an entry or the heading.
    EXPECT_EQ(html.rfind("<div id=navcnt>", start), std::string::npos);
    EXPECT_EQ(html.rfind(kHeading, start), std::string::npos);
}

TEST(ResultsPage, EntriesCarryTheirLinksInOrder) {
    const auto html = RenderResultsPage(ThreeLinks());
    EXPECT_EQ(EntryLinks(html), ThreeLinks().hrefs);
    EXPECT_NE(html.find("Results <b>11</b> - <b>13</b> of about <b>50</b>"), std::string::npos);
}

TEST(ResultsPage, BarAndNoticeFollowTheEndOfResults) {
    auto page = ThreeLinks();
    auto html = RenderResultsPage(page);
    EXPECT_TRUE(HasNavigationBar(html));
    EXPECT_FALSE(HasOmittedNotice(html));

    page.moreResults = false;
    html = RenderResultsPage(page);
    EXPECT_EQ(html.find("navcnt"), std::string::npos);

    // As on the real page: the notice comes with an empty bar.
    page.omittedNotice = true;
    html = RenderResultsPage(page);
    EXPECT_TRUE(HasOmittedNotice(html));
    EXPECT_NE(html.find("<div id=navcnt></div>"), std::string::npos);
    EXPECT_LT(html.find("In order to show you"), html.find("<script>", html.find(kHeading)));
}

TEST(ResultsPage, BarLinksPageOnWithTheSameNum) {
    ResultsPage page{"k", "/google/search", 10, 5, 40, {"http://a/11"}, true, false};
    const auto html = RenderResultsPage(page);
    EXPECT_NE(html.find("/google/search?q=k&amp;hl=en&amp;start=5&amp;num=5&amp;sa=N"),
              std::string::npos);                                   // previous
    EXPECT_NE(html.find("start=15&amp;num=5"), std::string::npos);  // next
    page.start = 0;
    EXPECT_EQ(RenderResultsPage(page).find("Previous"), std::string::npos);
}

TEST(ResultsPage, KeywordCannotAddEntriesOrEndTheSection) {
    auto page = ThreeLinks();
    page.keyword = "<h3 href=\"http://x/\"> <script> <div id=navcnt> 'q' & more";
    page.moreResults = false;
    const auto html = RenderResultsPage(page);
    EXPECT_EQ(EntryLinks(html), page.hrefs);
    EXPECT_FALSE(HasNavigationBar(html));
    const auto heading = html.find(kHeading);
    EXPECT_EQ(Count(html.substr(0, html.find("<script>", heading)), "<h3", heading), 3u);
    EXPECT_NE(html.find("&lt;h3 href=&quot;http://x/&quot;&gt; &lt;script&gt;"), std::string::npos);
    EXPECT_NE(html.find("q=%3Ch3+href%3D%22http%3A%2F%2Fx%2F%22%3E"), std::string::npos);
}

TEST(ResultsPage, PageWithoutLinksKeepsItsSection) {
    auto page = ThreeLinks();
    page.hrefs.clear();
    const auto html = RenderResultsPage(page);
    EXPECT_NE(html.find(kHeading), std::string::npos);
    EXPECT_TRUE(EntryLinks(html).empty());
    EXPECT_TRUE(HasNavigationBar(html));
}

}  // namespace
}  // namespace serpdouble
