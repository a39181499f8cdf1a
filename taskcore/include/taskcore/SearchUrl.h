#pragma once

#include <string>

namespace kestrova {

// Host of the search engine's web search, as it appears in composed URLs.
inline constexpr const char* kSearchHost = "www.google.com";

// The plain search URL for a keyword: blanks trimmed, the rest percent-encoded, inner blanks
// as "+".
std::string KeywordToURL(const std::string& keyword);

// The keyword carried by a search URL's "q" (or "as_q") parameter, decoded; empty when the
// URL has none. Escapes decode to single bytes.
std::string URLToKeyword(const std::string& url);

}  // namespace kestrova
