#include "taskcore/KeywordList.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "tessel/Text.h"

namespace kestrova {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string CannotRead(const std::string& file, int error) {
    return "cannot read the keyword file '" + file + "': " + std::strerror(error);
}

}  // namespace

std::vector<std::string> ReadKeywords(std::istream& in) {
    std::vector<std::string> keywords;
    bool first = true;
    for (std::string line; std::getline(in, line); first = false) {
        if (first && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        if (line.ends_with('\r')) line.pop_back();
        std::string keyword(tessel::TrimBlanks(line));  // the task editor's own rule
        if (!keyword.empty() && keyword.front() != '#') keywords.push_back(std::move(keyword));
    }
    return keywords;
}

std::vector<std::string> LoadKeywords(const std::string& file, std::istream& standardInput) {
    std::ifstream named;
    if (file != "-") {
        errno = 0;
        named.open(file, std::ios::binary);
        if (!named) throw KeywordListError(CannotRead(file, errno));
    }
    std::istream& in = file == "-" ? standardInput : named;
    auto keywords = ReadKeywords(in);
    // getline stops at the end or at a read error; only the end is a whole list.
    if (in.bad()) throw KeywordListError(CannotRead(file, errno ? errno : EIO));
    if (keywords.empty()) throw KeywordListError("no keyword in '" + file + "'");
    return keywords;
}

std::string KeywordLabel(const std::string& keyword, std::size_t index, std::size_t count) {
    return keyword + " (" + std::to_string(index + 1) + "/" + std::to_string(count) + ")";
}

}  // namespace kestrova
