#pragma once

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova {

// A keyword list that cannot be read or holds no keyword; the text names the file.
class KeywordListError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The keywords of a keyword list: one a line in UTF-8, blanks trimmed as the task editor
// trims its keyword; blank lines and lines whose first non-blank is "#" are passed over.
// Lines may end in LF or CR LF; a byte-order mark at the start is dropped.
std::vector<std::string> ReadKeywords(std::istream& in);

// The keywords of `file`, or of `standardInput` when `file` is "-". Throws KeywordListError
// when the file cannot be read or holds no keyword.
std::vector<std::string> LoadKeywords(const std::string& file, std::istream& standardInput);

// "kites (3/40)": the keyword and its place in the list, counted from 1.
std::string KeywordLabel(const std::string& keyword, std::size_t index, std::size_t count);

}  // namespace kestrova
