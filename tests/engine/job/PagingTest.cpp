#include <gtest/gtest.h>

#include <limits>

#include "job/LinkTypes.h"
#include "job/ResultsPaging.h"

using fetchcore::CoversLastWanted;
using fetchcore::IsHTMLPage;
using fetchcore::MakeResultsPageURL;

namespace {
const std::string kSearch = "http://127.0.0.1/google/search?hl=en&q=kw";
}

TEST(ResultsPageURL, AddsOnlyTheParametersThatDifferFromTheEnginesDefaults) {
    EXPECT_EQ(MakeResultsPageURL(kSearch, 10, 1), kSearch);
    EXPECT_EQ(MakeResultsPageURL(kSearch, 10, 11), kSearch + "&start=10");
    EXPECT_EQ(MakeResultsPageURL(kSearch, 50, 1), kSearch + "&num=50");
    EXPECT_EQ(MakeResultsPageURL(kSearch, 50, 21), kSearch + "&start=20&num=50");
    EXPECT_EQ(MakeResultsPageURL(kSearch, 1, 5), kSearch + "&start=4&num=1");
}

TEST(ResultsPageURL, JoinsWithAnAmpersandEvenWithoutAQuery) {
    EXPECT_EQ(MakeResultsPageURL("http://h/search", 100, 901), "http://h/search&start=900&num=100");
}

TEST(LastWantedPage, StopsOnThePageThatReachesTheLastWantedResult) {
    EXPECT_FALSE(CoversLastWanted(1, 10, 15));
    EXPECT_TRUE(CoversLastWanted(11, 10, 15));
    EXPECT_TRUE(CoversLastWanted(1, 10, 10)) << "a page ending exactly on it is the last";
    EXPECT_FALSE(CoversLastWanted(1, 10, 11));
    EXPECT_TRUE(CoversLastWanted(5, 1, 5));
    EXPECT_TRUE(CoversLastWanted(901, 100, 999));
}

TEST(LastWantedPage, APageSizeThatCannotAdvanceEndsPaging) {
    EXPECT_TRUE(CoversLastWanted(1, 0, 999));
    EXPECT_TRUE(CoversLastWanted(1, -5, 999));
}

TEST(LastWantedPage, DoesNotWrapRoundNearTheTopOfTheRange) {
    constexpr int32_t kTop = std::numeric_limits<int32_t>::max();
    EXPECT_TRUE(CoversLastWanted(kTop - 5, 100, kTop));
    EXPECT_FALSE(CoversLastWanted(kTop - 200, 100, kTop));
}

TEST(LinkTypes, DocumentsAndSecureLinksAreNotPagesInAnyLetterCase) {
    for (const char* url :
         {"http://h/a.pdf", "http://h/a.PDF", "http://h/a.doc", "http://h/a.xls", "http://h/a.Ppt",
          "http://h/a.rtf", "http://h/a.ps", "http://h/a.PS", "https://h/", "HTTPS://h/a.html"}) {
        EXPECT_FALSE(IsHTMLPage(url)) << url;
    }
}

TEST(LinkTypes, OtherLinksArePages) {
    for (const char* url : {"http://h/", "http://h/a.html", "http://h/a.pdf?x=1", "http://h/a.docx",
                            "http://h/maps", "http://h/a.eps2", "HTTP://h/a", "ftp://h/a", ""}) {
        EXPECT_TRUE(IsHTMLPage(url)) << url;
    }
}
