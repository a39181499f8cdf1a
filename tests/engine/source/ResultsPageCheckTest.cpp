// A 2010 results page is known by its landmarks; walls and empty answers have none.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "source/Layout2010Source.h"

using fetchcore::IsResultsPage2010;

namespace {

TEST(ResultsPageCheck, PagesThatAskForJavaScriptOrConsentAreNoResultsPages) {
    const std::string javaScriptWall =
        "<!DOCTYPE html><html lang=\"en\"><head><title>Google Search</title>"
        "<noscript><meta content=\"0;url=/httpservice/retry/enablejs?sei=x\" "
        "http-equiv=\"refresh\"><style>table,div,span,p{display:none}</style>"
        "<div style=\"display:block\">Please click <a href=\"/httpservice/retry/enablejs"
        "?sei=x\">here</a> if you are not redirected within a few seconds.</div></noscript>"
        "<script nonce=\"n\">(function(){var q='kites';})();</script></head></html>";
    const std::string consentWall =
        "<html><body><form action=\"https://consent.google.com/save\" method=\"POST\">"
        "<h1>Before you continue to Google</h1><button>Accept all</button></form></body></html>";
    EXPECT_FALSE(IsResultsPage2010(javaScriptWall));
    EXPECT_FALSE(IsResultsPage2010(consentWall));
    EXPECT_FALSE(IsResultsPage2010(""));
}

TEST(ResultsPageCheck, AnyLandmarkMakesAResultsPage) {
    std::ifstream in(std::string(KES_PARSER_DATA) + "/serp-2010-omitted.html", std::ios::binary);
    std::ostringstream real;
    real << in.rdbuf();
    EXPECT_TRUE(IsResultsPage2010(real.str()));
    // A search without matches still has the options toggle.
    EXPECT_TRUE(
        IsResultsPage2010("<html><span class=tbpc>Show options...</span>"
                          "<p>Your search did not match any documents.</p></html>"));
    EXPECT_TRUE(IsResultsPage2010("<h2 class=hd>Search Results</h2>"));
    EXPECT_TRUE(IsResultsPage2010("<div id=navcnt></div>"));
}

}  // namespace
