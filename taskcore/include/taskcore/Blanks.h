#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// Removes leading and trailing blanks (spaces only, as the task fields have always been
// trimmed; tabs and other characters are kept).
std::string TrimBlanks(std::string_view text);

}  // namespace kestrova
