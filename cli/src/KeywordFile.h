#pragma once

#include <istream>
#include <string>
#include <vector>

namespace kestrova::cli {

// The keywords of a keyword list: one a line in UTF-8, blanks trimmed as the task editor
// trims its keyword; blank lines and lines whose first non-blank is "#" are passed over.
// Lines may end in LF or CR LF; a byte-order mark at the start is dropped.
std::vector<std::string> ReadKeywords(std::istream& in);

// The keywords of `file`, or of `standardInput` when `file` is "-". Throws UsageError when the
// file cannot be read or holds no keyword.
std::vector<std::string> LoadKeywords(const std::string& file, std::istream& standardInput);

}  // namespace kestrova::cli
