// Which addresses are SearXNG searches, and how their query parameters are replaced.
#include <gtest/gtest.h>

#include "fetchcore/SearxngAddress.h"

using fetchcore::IsSearxngAddress;
using fetchcore::WithQueryParameter;

namespace {

TEST(SearxngAddress, PathEndingInSearchWithFormatJsonAndNothingElse) {
    EXPECT_TRUE(IsSearxngAddress("https://searx.example/search?q=kites&format=json"));
    EXPECT_TRUE(IsSearxngAddress("http://127.0.0.1:8888/searx/search?format=json&q=a"));
    EXPECT_TRUE(IsSearxngAddress("https://s.example/search?format=json"));
    EXPECT_FALSE(IsSearxngAddress("http://www.google.com/search?hl=en&q=kites"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/search?q=a&format=html"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/search?q=a&format=jsonp"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/search?q=a&xformat=json"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/search/?q=a&format=json"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/research?q=a&format=json"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/search#?format=json"));
    EXPECT_FALSE(IsSearxngAddress("https://s.example/search?q=format=json"));
}

TEST(SearxngAddress, AParameterIsReplacedInPlaceOrAppended) {
    const std::string base = "http://s.example/search?q=a&format=json";
    EXPECT_EQ(WithQueryParameter(base, "pageno", "2"), base + "&pageno=2");
    EXPECT_EQ(WithQueryParameter("http://s.example/search?pageno=7&q=a&format=json", "pageno", "3"),
              "http://s.example/search?pageno=3&q=a&format=json");
    EXPECT_EQ(WithQueryParameter(base, "q", "red+kites"),
              "http://s.example/search?q=red+kites&format=json");
    EXPECT_EQ(WithQueryParameter("http://s.example/search?xq=1&q=a", "q", "b"),
              "http://s.example/search?xq=1&q=b");
    EXPECT_EQ(WithQueryParameter("http://s.example/search", "q", "b"),
              "http://s.example/search?q=b");
    EXPECT_EQ(WithQueryParameter("http://s.example/search?", "q", "b"),
              "http://s.example/search?q=b");
    EXPECT_EQ(WithQueryParameter("http://s.example/search?format=json#top", "pageno", "2"),
              "http://s.example/search?format=json&pageno=2#top");
}

}  // namespace
