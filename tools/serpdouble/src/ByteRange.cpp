#include "ByteRange.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace serpdouble {

namespace {

std::optional<std::size_t> Number(std::string_view text) {
    std::size_t value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
    return value;
}

ByteRange Slice(std::size_t first, std::size_t last) {
    return {ByteRange::Kind::Slice, first, last};
}

constexpr ByteRange kWhole{};
constexpr ByteRange kUnsatisfiable{ByteRange::Kind::Unsatisfiable, 0, 0};

ByteRange Suffix(std::string_view count, std::size_t size) {
    const auto n = Number(count);
    if (!n) return kWhole;
    if (*n == 0 || size == 0) return kUnsatisfiable;
    return Slice(size - std::min(*n, size), size - 1);
}

}  // namespace

ByteRange ReadByteRange(std::string_view header, std::size_t size) {
    constexpr std::string_view kUnit = "bytes=";
    if (!header.starts_with(kUnit)) return kWhole;
    const auto spec = header.substr(kUnit.size());
    const auto dash = spec.find('-');
    if (dash == std::string_view::npos || spec.find(',') != std::string_view::npos) return kWhole;
    if (dash == 0) return Suffix(spec.substr(1), size);
    const auto first = Number(spec.substr(0, dash));
    const auto lastText = spec.substr(dash + 1);
    const auto last = lastText.empty() ? std::optional(std::numeric_limits<std::size_t>::max())
                                       : Number(lastText);
    if (!first || !last || *last < *first) return kWhole;
    if (*first >= size) return kUnsatisfiable;
    return Slice(*first, std::min(*last, size - 1));
}

}  // namespace serpdouble
