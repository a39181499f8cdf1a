#pragma once

#include <string>

namespace kestrova {

// Where a search address sends the job; the address alone says which.
enum class SearchSource { Google, Searxng, Brave };

// The source an address belongs to: the Brave Search API's web search, a SearXNG instance's
// JSON search, else the search engine's 2010 results pages.
SearchSource SourceOfAddress(const std::string& url);

// The address that searches `keyword` at `source`; `searxngInstance` (a base address) is read
// for SearXNG only.
std::string SourceAddress(SearchSource source, const std::string& keyword,
                          const std::string& searxngInstance = {});

}  // namespace kestrova
