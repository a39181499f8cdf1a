#pragma once

#include <string>

namespace serpdouble {

// Escapes & < > " ' so that any keyword can stand in text and in quoted attributes.
std::string EscapeHtml(const std::string& text);

// Encodes a query value as a search form does: A-Z a-z 0-9 - _ . ~ kept, a blank as "+",
// every other byte as "%XX".
std::string EncodeQueryValue(const std::string& text);

}  // namespace serpdouble
