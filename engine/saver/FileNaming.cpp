#include "fetchcore/FileNaming.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "tessel/Text.h"

namespace fetchcore {
namespace {

constexpr std::array<bool, 256> MakeKeptTable() {
    std::array<bool, 256> kept{};
    const auto keep = [&](int from, int to) {
        for (int c = from; c <= to; ++c) kept[static_cast<std::size_t>(c)] = true;
    };
    keep(32, 33);
    keep(35, 36);
    keep(38, 41);
    keep(43, 46);
    keep(48, 57);
    keep(64, 91);
    keep(93, 123);
    keep(125, 255);  // every byte from 127 up, so UTF-8 text survives
    return kept;
}
constexpr std::array<bool, 256> kKept = MakeKeptTable();

std::string_view StripScheme(std::string_view url) {
    if (url.substr(0, 5) == "http:") return url.substr(std::min<std::size_t>(7, url.size()));
    if (url.substr(0, 6) == "https:") return url.substr(std::min<std::size_t>(8, url.size()));
    if (url.substr(0, 4) == "ftp:") return url.substr(std::min<std::size_t>(6, url.size()));
    return url;
}

std::string NumberPrefix(int32_t number) {
    std::string digits = std::to_string(number);
    if (number >= 0 && number < 10) return "00" + digits + "-";
    if (number >= 10 && number < 100) return "0" + digits + "-";
    return digits + "-";
}

}  // namespace

std::string URL2FileName(int32_t PageNumber, const std::string& url) {
    std::string name;
    for (const char c : StripScheme(url)) name += kKept[static_cast<unsigned char>(c)] ? c : ' ';
    name = tessel::TrimBlanks(name);
    if (!tessel::EndsWithNoCase(name, ".htm") && !tessel::EndsWithNoCase(name, ".html"))
        name += ".htm";
    return NumberPrefix(PageNumber) + name;
}

std::string FileNameEncode(const std::string& FileName) {
    std::string out;
    out.reserve(FileName.size());
    for (const char c : FileName) {
        switch (c) {
            case '"':
                out += '\'';
                break;
            case '\\':
            case '/':
            case ':':
            case '*':
            case '?':
            case '<':
            case '>':
            case '|':
                out += '_';
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string KeywordFolderName(const std::string& kw) {
    std::string name = FileNameEncode(kw);
    std::replace(name.begin(), name.end(), '\0', '_');
    if (name.empty() || name == "." || name == "..") return "_";
    return name;
}

std::string PageFolderPath(const std::string& outputFolder, const std::string& kw) {
    std::string folder = outputFolder;
    if (!folder.ends_with('/')) folder += '/';
    return folder + KeywordFolderName(kw) + '/';
}

std::string SavedPagePath(const std::string& outputFolder, const std::string& kw, int32_t N,
                          const std::string& url) {
    return PageFolderPath(outputFolder, kw) + URL2FileName(N, url);
}

}  // namespace fetchcore
