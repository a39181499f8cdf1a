#pragma once

#include <cstddef>
#include <string_view>

// What the fuzz targets of the JSON readers check.
namespace fuzzcheck {

// Ends the run as a crash when a property does not hold.
inline void Require(bool holds) {
    if (!holds) __builtin_trap();
}

inline bool StartsWithHttpSchemeInAnyCase(std::string_view url) {
    const auto startsWith = [url](std::string_view prefix) {
        if (url.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if ((url[i] | 0x20) != prefix[i] && url[i] != prefix[i]) return false;
        }
        return true;
    };
    return startsWith("http://") || startsWith("https://");
}

}  // namespace fuzzcheck
