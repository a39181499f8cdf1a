#include "taskcore/SearchUrl.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "fetchcore/BraveAddress.h"
#include "fetchcore/SearxngAddress.h"
#include "tessel/Text.h"
#include "tessel/Toolbox.h"

namespace kestrova {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Each "%XX" becomes one byte. A "%" without two hexadecimal digits after it stays as typed:
// reading it as a code would put control characters (even NUL) into the keyword.
std::string DecodeEscapes(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            const int high = HexValue(value[i + 1]);
            const int low = HexValue(value[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(value[i]);
    }
    return out;
}

// The value of the first marker that occurs at all, in the order the markers are tried.
std::string_view KeywordValue(std::string_view url) {
    static constexpr std::array<std::string_view, 4> kMarkers{"&q=", "?q=", "?as_q=", "&as_q="};
    for (std::string_view marker : kMarkers) {
        const size_t found = url.find(marker);
        if (found == std::string_view::npos) continue;
        const size_t start = found + marker.size();
        const size_t end = url.find('&', start);
        return url.substr(start, end == std::string_view::npos ? end : end - start);
    }
    return {};
}

// The keyword as a query value: blanks trimmed, percent-encoded, inner blanks as "+".
std::string EncodeKeyword(const std::string& keyword) {
    std::string encoded = tessel::Toolbox::URLEncode(std::string(tessel::TrimBlanks(keyword)));
    ReplaceAll(encoded, "%20", "+");
    return encoded;
}

}  // namespace

std::string KeywordToURL(const std::string& keyword) {
    const std::string templ = std::string("http://") + kSearchHost + "/search?hl=en&q=%1";
    return tessel::Toolbox::FormatMessage(templ, {EncodeKeyword(keyword)});
}

std::string KeywordIntoURL(const std::string& url, const std::string& keyword) {
    if (!fetchcore::IsSearxngAddress(url) && !fetchcore::IsBraveAddress(url))
        return KeywordToURL(keyword);
    return fetchcore::WithQueryParameter(url, "q", EncodeKeyword(keyword));
}

std::string SearxngSearchURL(const std::string& instance, const std::string& keyword) {
    std::string base(tessel::TrimBlanks(instance));
    while (base.ends_with('/')) base.pop_back();
    return base + "/search?q=" + EncodeKeyword(keyword) + "&format=json";
}

std::string BraveSearchURL(const std::string& keyword) {
    return std::string(fetchcore::kBraveSearchAddress) + "?q=" + EncodeKeyword(keyword);
}

std::optional<std::string> SearxngFromEnvironment() {
    const char* value = std::getenv("KESTROVA_SEARXNG");
    if (value == nullptr || tessel::TrimBlanks(value).empty()) return std::nullopt;
    return std::string(value);
}

std::string DefaultSearchURL(const std::string& keyword) {
    if (const auto instance = SearxngFromEnvironment()) return SearxngSearchURL(*instance, keyword);
    return KeywordToURL(keyword);
}

std::string URLToKeyword(const std::string& url) {
    // "+" means a blank only where it stands literally; an escaped "%2B" is a real plus sign.
    std::string value(KeywordValue(url));
    ReplaceAll(value, "+", " ");
    return DecodeEscapes(value);
}

}  // namespace kestrova
