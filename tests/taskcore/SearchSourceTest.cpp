// Which source an address searches, and the address each source gets for a keyword.
#include "taskcore/SearchSource.h"

#include <gtest/gtest.h>

#include "taskcore/SearchUrl.h"

namespace kestrova {
namespace {

TEST(SearchSource, AnAddressNamesItsSourceByItsPathAndQuery) {
    EXPECT_EQ(SourceOfAddress("http://www.google.com/search?hl=en&q=x"), SearchSource::Google);
    EXPECT_EQ(SourceOfAddress("https://searx.example/search?q=x&format=json"),
              SearchSource::Searxng);
    EXPECT_EQ(SourceOfAddress("http://127.0.0.1:8888/searx/search?format=json&q=x#top"),
              SearchSource::Searxng);
    // Without JSON a SearXNG instance answers HTML: that is no source of its own.
    EXPECT_EQ(SourceOfAddress("https://searx.example/search?q=x&format=html"),
              SearchSource::Google);
    EXPECT_EQ(SourceOfAddress("https://api.search.brave.com/res/v1/web/search?q=x"),
              SearchSource::Brave);
    // Its path ends in "/search" too; the Brave path wins, as in the engine.
    EXPECT_EQ(SourceOfAddress("http://127.0.0.1:9/res/v1/web/search?q=x&format=json"),
              SearchSource::Brave);
    EXPECT_EQ(SourceOfAddress(""), SearchSource::Google);
}

TEST(SearchSource, EachSourcesAddressCarriesTheKeywordAndNamesItsSourceAgain) {
    EXPECT_EQ(SourceAddress(SearchSource::Google, " red kites "),
              "http://www.google.com/search?hl=en&q=red+kites");
    EXPECT_EQ(SourceAddress(SearchSource::Searxng, "red kites", "https://searx.example/"),
              "https://searx.example/search?q=red+kites&format=json");
    EXPECT_EQ(SourceAddress(SearchSource::Brave, "red kites", "https://searx.example/"),
              "https://api.search.brave.com/res/v1/web/search?q=red+kites");
    for (const SearchSource source :
         {SearchSource::Google, SearchSource::Searxng, SearchSource::Brave}) {
        const std::string url = SourceAddress(source, "ospreys & kites", "http://127.0.0.1:8");
        EXPECT_EQ(SourceOfAddress(url), source) << url;
        EXPECT_EQ(URLToKeyword(url), "ospreys & kites") << url;
    }
}

}  // namespace
}  // namespace kestrova
