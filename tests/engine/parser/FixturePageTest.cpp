#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ParsedPage.h"

namespace {

std::string Fixture() {
    std::ifstream in(std::string(KES_TEST_DATA) + "/serp-2010-omitted.html", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Erase(std::string& text, const std::string& part) {
    const auto at = text.find(part);
    ASSERT_NE(at, std::string::npos) << part;
    text.erase(at, part.size());
}

const char* const kOmitted =
    "In order to show you the most relevant results, we have omitted some entries very "
    "similar to the";

TEST(FixturePage, YieldsTheFourResultsInPageOrderWithoutCacheLinks) {
    const ParsedPage parsed = Parse(Fixture());
    const std::vector<std::string> expected{
        "http://www.informatik.uni-trier.de/~ley/db/indices/a-tree/z/Zhang:Kuo.html",
        "http://keg.cs.tsinghua.edu.cn/persons/gangwu/publications.jsp",
        "http://search.ustc.edu.cn/notold/search.php?q=Gang",
        "http://search.ustc.edu.cn/notold/search.php?q=Zi",
    };
    EXPECT_EQ(parsed.urls, expected);
    EXPECT_EQ(parsed.positions, (std::vector<int>{1, 2, 3, 4}));
}

TEST(FixturePage, OmittedEntriesNoticeEndsTheResults) {
    EXPECT_TRUE(Parse(Fixture()).noMorePages);

    std::string withoutNotice = Fixture();
    Erase(withoutNotice, kOmitted);
    EXPECT_FALSE(Parse(withoutNotice).noMorePages);

    std::string withoutBar = withoutNotice;
    Erase(withoutBar, "<div id=navcnt>");
    const ParsedPage parsed = Parse(withoutBar);
    EXPECT_TRUE(parsed.noMorePages);
    EXPECT_EQ(parsed.urls.size(), 4u);
}

TEST(FixturePage, EntriesWhoseFirstLinkIsACachedCopyGiveNothing) {
    // Without the title links, each entry's first link is its cached copy: all excluded.
    std::string page = Fixture();
    for (auto at = page.find("<h3 class=r><a href="); at != std::string::npos;
         at = page.find("<h3 class=r><a href=", at + 1)) {
        page.replace(at + 15, 5, "data=");
    }
    const ParsedPage parsed = Parse(page);
    EXPECT_TRUE(parsed.urls.empty());
    EXPECT_TRUE(parsed.noMorePages);
}

TEST(FixturePage, LinksAfterTheFirstScriptOfTheSectionAreIgnored) {
    std::string page = Fixture();
    const auto third = page.find("<li class=g><h3 class=r><a href=\"http://search.ustc");
    ASSERT_NE(third, std::string::npos);
    page.insert(third, "<script>");
    EXPECT_EQ(Parse(page).urls.size(), 2u);
}

}  // namespace
