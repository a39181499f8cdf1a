#include "parser/BoldTags.h"

#include <cstring>

namespace fetchcore::parser {
namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// `lowerTag` is lower case and starts with '<', which has no other case and occurs nowhere
// else in the tag, so matches never overlap and a left-to-right scan finds them all.
bool TagAt(const std::string& text, std::size_t at, std::string_view lowerTag) {
    if (text.size() - at < lowerTag.size()) return false;
    for (std::size_t i = 1; i < lowerTag.size(); ++i) {
        if (AsciiLower(text[at + i]) != lowerTag[i]) return false;
    }
    return true;
}

// Removes the tag in place; text is only moved once the first match is found.
void EraseTag(std::string& text, std::string_view lowerTag) {
    std::size_t read = 0;
    std::size_t write = 0;
    std::size_t scan = 0;
    while (scan < text.size()) {
        const void* hit = std::memchr(text.data() + scan, '<', text.size() - scan);
        if (hit == nullptr) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (!TagAt(text, at, lowerTag)) {
            scan = at + 1;
            continue;
        }
        if (write != read) std::memmove(text.data() + write, text.data() + read, at - read);
        write += at - read;
        read = at + lowerTag.size();
        scan = read;
    }
    if (write == read) return;
    std::memmove(text.data() + write, text.data() + read, text.size() - read);
    text.resize(write + text.size() - read);
}

}  // namespace

std::string StripBoldTags(std::string_view page) {
    std::string text(page);
    EraseTag(text, "<b>");
    EraseTag(text, "</b>");
    return text;
}

}  // namespace fetchcore::parser
