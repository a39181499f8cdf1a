#pragma once

#include <string>

#include "fetchcore/Export.h"

namespace fetchcore {

// The web search of the Brave Search API.
inline constexpr const char* kBraveSearchAddress = "https://api.search.brave.com/res/v1/web/search";

// An address whose path ends in "/res/v1/web/search" is the Brave Search API's web search
// (its own, or one that a test or a proxy serves).
FETCHCORE_EXPORT bool IsBraveAddress(const std::string& url);

}  // namespace fetchcore
