#pragma once

#include <cstring>
#include <string_view>

namespace fetchcore::parser {

// Position of the first occurrence of `needle` in `text` at or after `from`, or npos.
// memmem rather than string_view::find: markers start with '<', which is on every
// few bytes of HTML, and glibc's memmem does not stop at each of them.
inline std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0) {
    // Also keeps a null data() of an empty view away from memmem.
    if (from > text.size() || needle.size() > text.size() - from) return std::string_view::npos;
    const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    if (hit == nullptr) return std::string_view::npos;
    return static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

inline bool Contains(std::string_view text, std::string_view needle) {
    return Find(text, needle) != std::string_view::npos;
}

}  // namespace fetchcore::parser
