#pragma once

#include <string>
#include <string_view>

namespace tessel {

// ASCII only: the same answer under every locale, and bytes from 128 up pass unchanged.
char LowerAscii(char c);
std::string LowerAscii(std::string_view text);

// `text` without the leading and trailing characters found in `blanks` (by default the
// space alone: tabs and line ends are kept).
std::string_view TrimBlanks(std::string_view text, std::string_view blanks = " ");

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

}  // namespace tessel
