#include "serpdouble/Stats.h"

#include <algorithm>
#include <cctype>

namespace serpdouble {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

std::optional<std::string> RequestRecord::Header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (SameName(key, name)) return value;
    }
    return std::nullopt;
}

}  // namespace serpdouble
