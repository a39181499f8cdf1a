#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace serpdouble {

// The bytes a result page is made of.
enum class PageContent {
    Text,       // printable ASCII HTML
    HighBytes,  // HTML text with bytes from 128 to 255, no NUL
    Binary,     // every byte value, NUL included
};

// The body of result page `i`: exactly `size` bytes, the same on every call.
std::string PageBody(int i, std::size_t size, PageContent content);

// Parses "text", "high" or "binary".
std::optional<PageContent> PageContentFromName(const std::string& name);

}  // namespace serpdouble
