#pragma once

#include <optional>
#include <string>

namespace kestrova {

// Host of the search engine's web search, as it appears in composed URLs.
inline constexpr const char* kSearchHost = "www.google.com";

// The plain search URL for a keyword: blanks trimmed, the rest percent-encoded, inner blanks
// as "+".
std::string KeywordToURL(const std::string& keyword);

// The search address after the keyword box changed: for a SearXNG or Brave Search API address
// only its "q" parameter is replaced, keeping the server and every other parameter; any other
// address becomes KeywordToURL(keyword).
std::string KeywordIntoURL(const std::string& url, const std::string& keyword);

// The JSON search of a SearXNG instance for a keyword: `instance` (its base address, trailing
// slashes dropped) + "/search?q=KEYWORD&format=json".
std::string SearxngSearchURL(const std::string& instance, const std::string& keyword);

// The Brave Search API's web search for a keyword: its address + "?q=KEYWORD".
std::string BraveSearchURL(const std::string& keyword);

// The SearXNG instance that KESTROVA_SEARXNG names, if set and not blank.
std::optional<std::string> SearxngFromEnvironment();

// The address a keyword alone searches (on a first start, or on the command line without an
// address): the instance of KESTROVA_SEARXNG when set, else the plain search URL.
std::string DefaultSearchURL(const std::string& keyword);

// The keyword carried by a search URL's "q" (or "as_q") parameter, decoded; empty when the
// URL has none. Escapes decode to single bytes.
std::string URLToKeyword(const std::string& url);

}  // namespace kestrova
