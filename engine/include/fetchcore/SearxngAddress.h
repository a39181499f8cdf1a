#pragma once

#include <string>

#include "fetchcore/Export.h"

namespace fetchcore {

// A search address whose path ends in "/search" and whose query holds "format=json" is a
// SearXNG instance's JSON search; every other address is the 2010 results layout.
FETCHCORE_EXPORT bool IsSearxngAddress(const std::string& url);

// The address with its query parameter `key` set to `value` (already encoded): the first
// one replaced in place, or appended with "&" when the query has none.
FETCHCORE_EXPORT std::string WithQueryParameter(const std::string& url, const std::string& key,
                                                const std::string& value);

}  // namespace fetchcore
