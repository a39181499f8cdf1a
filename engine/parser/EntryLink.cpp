#include "parser/EntryLink.h"

#include "parser/PageMarkers.h"
#include "parser/TextSearch.h"

namespace fetchcore::parser {
namespace {

std::string_view UpTo(std::string_view text, std::size_t end) {
    return end == std::string_view::npos ? text : text.substr(0, end);
}

}  // namespace

std::optional<std::string_view> RawLinkOfEntry(std::string_view entry) {
    const std::size_t attribute = Find(entry, markers::kLinkAttribute);
    if (attribute == std::string_view::npos) return std::nullopt;
    std::string_view value = entry.substr(attribute + markers::kLinkAttribute.size());
    if (value.starts_with('"') || value.starts_with('\'')) {
        const char quote = value.front();
        value.remove_prefix(1);
        return UpTo(value, value.find(quote));
    }
    return UpTo(value, value.find_first_of(" \t\n\r\f>\"'"));
}

bool IsResultLink(std::string_view link) {
    if (link.starts_with(markers::kCachePrefix) || link.starts_with(markers::kNewsPrefix)) {
        return false;
    }
    if (link.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = link[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != "http"[i]) return false;
    }
    return true;
}

}  // namespace fetchcore::parser
