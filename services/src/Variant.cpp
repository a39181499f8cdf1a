#include "tessel/Variant.h"

#include "tessel/Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace tessel {
namespace {

[[noreturn]] void Mismatch() {
    throw ComError(err::kTypeMismatch, "Type mismatch");
}

// Numbers and truth values may carry any white space around them.
std::string_view Trim(std::string_view s) {
    return TrimBlanks(s, " \t\r\n");
}

// A whole string as a number: blanks around it allowed, nothing else.
double ParseNumber(const std::string& text) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) Mismatch();
    return value;
}

int32_t RoundToLong(double value) {
    // Half-way values round to even, as the component runtime does.
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<int32_t>::min() ||
        rounded > std::numeric_limits<int32_t>::max())
        throw ComError(err::kOverflow, "Overflow");
    return static_cast<int32_t>(rounded);
}

template <class... F>
struct Visitor : F... {
    using F::operator()...;
};
// clang 14 (the fuzz build) does not deduce aggregate template arguments by itself.
template <class... F>
Visitor(F...) -> Visitor<F...>;

}  // namespace

bool Variant::ToBool() const {
    return std::visit(Visitor{[](Empty) { return false; }, [](bool v) { return v; },
                              [](int32_t v) { return v != 0; }, [](double v) { return v != 0; },
                              [](const std::string& v) {
                                  if (EqualsNoCase(Trim(v), "True")) return true;
                                  if (EqualsNoCase(Trim(v), "False")) return false;
                                  return ParseNumber(v) != 0;
                              },
                              [](const ObjectRef&) -> bool { Mismatch(); }},
                      value_);
}

int32_t Variant::ToLong() const {
    return std::visit(Visitor{[](Empty) { return int32_t{0}; },
                              [](bool v) { return v ? int32_t{-1} : int32_t{0}; },
                              [](int32_t v) { return v; }, [](double v) { return RoundToLong(v); },
                              [](const std::string& v) { return RoundToLong(ParseNumber(v)); },
                              [](const ObjectRef&) -> int32_t { Mismatch(); }},
                      value_);
}

double Variant::ToDouble() const {
    return std::visit(
        Visitor{[](Empty) { return 0.0; }, [](bool v) { return v ? -1.0 : 0.0; },
                [](int32_t v) { return static_cast<double>(v); }, [](double v) { return v; },
                [](const std::string& v) { return ParseNumber(v); },
                [](const ObjectRef&) -> double { Mismatch(); }},
        value_);
}

std::string Variant::ToString() const {
    return std::visit(Visitor{[](Empty) { return std::string(); },
                              [](bool v) { return std::string(v ? "True" : "False"); },
                              [](int32_t v) { return std::to_string(v); },
                              [](double v) {
                                  char buf[32];
                                  std::snprintf(buf, sizeof buf, "%.15g", v);
                                  return std::string(buf);
                              },
                              [](const std::string& v) { return v; },
                              [](const ObjectRef&) -> std::string { Mismatch(); }},
                      value_);
}

Variant::ObjectRef Variant::ToObject() const {
    if (const auto* ref = std::get_if<ObjectRef>(&value_); ref && *ref) return *ref;
    throw ComError(err::kObjectRequired, "Object required");
}

const Variant& VariantArray::operator()(int index) const {
    if (index < 1 || index > Count())
        throw ComError(err::kSubscriptOutOfRange, "Subscript out of range");
    return items_[static_cast<std::size_t>(index - 1)];
}

Variant& VariantArray::operator()(int index) {
    return const_cast<Variant&>(std::as_const(*this)(index));
}

}  // namespace tessel
