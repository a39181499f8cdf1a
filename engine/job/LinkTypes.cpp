#include "job/LinkTypes.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace fetchcore {

namespace {

constexpr std::array<std::string_view, 6> kDocumentEndings = {".pdf", ".doc", ".xls",
                                                              ".ppt", ".rtf", ".ps"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    });
    return text;
}

}  // namespace

bool IsHTMLPage(const std::string& url) {
    const std::string lower = Lower(url);
    if (lower.starts_with("https:")) return false;
    return std::none_of(kDocumentEndings.begin(), kDocumentEndings.end(),
                        [&](std::string_view ending) { return lower.ends_with(ending); });
}

}  // namespace fetchcore
