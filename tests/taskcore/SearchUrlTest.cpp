#include "taskcore/SearchUrl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kestrova {
namespace {

const std::string kPlain = "http://www.google.com/search?hl=en&q=";

TEST(KeywordToURL, JoinsWordsWithPlusAndDropsOuterBlanks) {
    EXPECT_EQ(KeywordToURL("two words"), kPlain + "two+words");
    EXPECT_EQ(KeywordToURL("   two words  "), kPlain + "two+words");
    EXPECT_EQ(KeywordToURL("a  b"), kPlain + "a++b");
}

TEST(KeywordToURL, EmptyKeywordGivesTheBareTemplate) {
    EXPECT_EQ(KeywordToURL(""), kPlain);
    EXPECT_EQ(KeywordToURL("    "), kPlain);
}

TEST(KeywordToURL, EscapesCharactersThatWouldBreakTheQuery) {
    EXPECT_EQ(KeywordToURL("C++"), kPlain + "C%2B%2B");
    EXPECT_EQ(KeywordToURL("a&b=c#d"), kPlain + "a%26b%3Dc%23d");
    EXPECT_EQ(KeywordToURL("caf\xC3\xA9"), kPlain + "caf%C3%A9");
}

TEST(KeywordToURL, PercentSignsInTheKeywordSurviveTheTemplate) {
    EXPECT_EQ(KeywordToURL("100%"), kPlain + "100%25");
    EXPECT_EQ(KeywordToURL("%1 %2"), kPlain + "%251+%252");
}

TEST(URLToKeyword, TakesTheValueOfTheQParameter) {
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?hl=en&q=kestrova&num=5"), "kestrova");
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?q=kestrova&hl=en"), "kestrova");
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?hl=en&q=last"), "last");
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?as_q=adv&hl=en"), "adv");
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?hl=en&as_q=adv"), "adv");
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?hl=en&q=&num=5"), "");
}

TEST(URLToKeyword, MarkerOrderBeatsPositionInTheUrl) {
    EXPECT_EQ(URLToKeyword("http://g.com/search?as_q=first&q=second"), "second");
    EXPECT_EQ(URLToKeyword("http://g.com/search?q=first&hl=en&q=second"), "second");
    EXPECT_EQ(URLToKeyword("http://g.com/search?q=first&as_q=second"), "first");
}

TEST(URLToKeyword, NoQParameterGivesEmpty) {
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?hl=en&Q=upper"), "");
    EXPECT_EQ(URLToKeyword("http://www.google.com/search?hl=en&aq=x&oq=y"), "");
    EXPECT_EQ(URLToKeyword("q=bare"), "");
    EXPECT_EQ(URLToKeyword(""), "");
}

TEST(URLToKeyword, PlusMeansBlankButEscapedPlusStaysPlus) {
    EXPECT_EQ(URLToKeyword("http://g.com/?q=two+words"), "two words");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=two%20words"), "two words");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=c%2B%2B"), "c++");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=1%2b1+is+2"), "1+1 is 2");
}

TEST(URLToKeyword, KeepsEveryCharacterAroundEscapes) {
    EXPECT_EQ(URLToKeyword("http://g.com/?q=abc%41"), "abcA");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%41bc"), "Abc");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=a%2fb%2Fc"), "a/b/c");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%%41"), "%A");
}

TEST(URLToKeyword, PercentInTheLastTwoPlacesIsKept) {
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%"), "%");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=50%"), "50%");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=50%4"), "50%4");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%4&hl=en"), "%4");
}

TEST(URLToKeyword, MalformedEscapesStayAsTypedInsteadOfControlCharacters) {
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%zz"), "%zz");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%4z1"), "%4z1");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=100%+off"), "100% off");
}

TEST(URLToKeyword, EachEscapeIsOneByte) {
    EXPECT_EQ(URLToKeyword("http://g.com/?q=caf%C3%A9"), "caf\xC3\xA9");
    EXPECT_EQ(URLToKeyword("http://g.com/?q=%FF"), std::string(1, '\xFF'));
    EXPECT_EQ(URLToKeyword("http://g.com/?q=a%00b"), std::string("a\0b", 3));
}

TEST(SearchUrlRoundTrip, KeywordComesBackFromItsOwnUrl) {
    for (const std::string keyword :
         {"kestrova", "two words", "C++", "50% off", "a&b=c", "caf\xC3\xA9", "%41", "x+y"}) {
        EXPECT_EQ(URLToKeyword(KeywordToURL(keyword)), keyword) << keyword;
    }
}

TEST(KeywordIntoURL, OnASearxngAddressOnlyTheQueryKeyChanges) {
    const std::string searx = "https://searx.example/search?language=en&q=old&format=json";
    EXPECT_EQ(KeywordIntoURL(searx, "  red kites & co "),
              "https://searx.example/search?language=en&q=red+kites+%26+co&format=json");
    EXPECT_EQ(URLToKeyword(KeywordIntoURL(searx, "red kites")), "red kites");
    EXPECT_EQ(KeywordIntoURL("https://searx.example/search?format=json", "a b"),
              "https://searx.example/search?format=json&q=a+b");
    EXPECT_EQ(KeywordIntoURL("http://www.google.com/search?hl=de&q=old", "a b"), kPlain + "a+b");
}

TEST(KeywordIntoURL, OnABraveSearchApiAddressOnlyTheQueryKeyChanges) {
    EXPECT_EQ(BraveSearchURL(" red kites "),
              "https://api.search.brave.com/res/v1/web/search?q=red+kites");
    const std::string brave = "http://127.0.0.1:8080/res/v1/web/search?country=de&q=old";
    EXPECT_EQ(KeywordIntoURL(brave, "C++"),
              "http://127.0.0.1:8080/res/v1/web/search?country=de&q=C%2B%2B");
    EXPECT_EQ(URLToKeyword(KeywordIntoURL(brave, "a & b")), "a & b");
}

TEST(SearxngSearchURL, AppendsTheSearchToTheInstance) {
    EXPECT_EQ(SearxngSearchURL("https://searx.example//", "red kites"),
              "https://searx.example/search?q=red+kites&format=json");
    EXPECT_EQ(SearxngSearchURL("http://127.0.0.1:8888/searx", "x"),
              "http://127.0.0.1:8888/searx/search?q=x&format=json");
}

TEST(DefaultSearchURL, TheInstanceOfTheEnvironmentWinsOverThePlainSearch) {
    ::unsetenv("KESTROVA_SEARXNG");
    EXPECT_EQ(DefaultSearchURL("kestrova"), kPlain + "kestrova");
    ::setenv("KESTROVA_SEARXNG", "  ", 1);
    EXPECT_EQ(DefaultSearchURL("kestrova"), kPlain + "kestrova");
    ::setenv("KESTROVA_SEARXNG", "https://searx.example/", 1);
    EXPECT_EQ(DefaultSearchURL("kestrova"), "https://searx.example/search?q=kestrova&format=json");
    ::unsetenv("KESTROVA_SEARXNG");
}

}  // namespace
}  // namespace kestrova
