#include "taskcore/ValReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace kestrova {
namespace {

bool IsIgnoredBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
                 [](char c) { return !IsIgnoredBlank(c); });
    return out;
}

// Digits of `base` up to the first other character.
double ReadRadix(std::string_view digits, int base) {
    double value = 0;
    for (char c : digits) {
        const int d = DigitValue(c);
        if (d >= base) break;
        value = value * base + d;
    }
    return value;
}

std::string_view TakeDigits(std::string_view s, size_t& pos) {
    const size_t start = pos;
    while (pos < s.size() && IsDigit(s[pos])) ++pos;
    return s.substr(start, pos - start);
}

// A decimal number without its sign, split into parts; the exponent keeps its own sign.
struct DecimalParts {
    std::string_view whole, fraction, exponentSign, exponent;
};

DecimalParts SplitDecimal(std::string_view s) {
    DecimalParts p;
    size_t pos = 0;
    p.whole = TakeDigits(s, pos);
    if (pos < s.size() && s[pos] == '.') p.fraction = TakeDigits(s, ++pos);
    if (pos + 1 >= s.size() || std::string_view("eEdD").find(s[pos]) == std::string_view::npos)
        return p;
    size_t expPos = pos + 1;
    std::string_view sign;
    if (s[expPos] == '+' || s[expPos] == '-') sign = s.substr(expPos++, 1);
    const std::string_view digits = TakeDigits(s, expPos);
    if (!digits.empty()) {  // "1e" or "1e+" end before the "e"
        p.exponentSign = sign;
        p.exponent = digits;
    }
    return p;
}

// Out of a double's range: overflow unless a negative exponent outweighs the whole digits.
double OutOfRange(const DecimalParts& p) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (p.exponentSign != "-") return kInfinity;
    const size_t firstSignificant = p.whole.find_first_not_of('0');
    const size_t wholeDigits =
        firstSignificant == std::string_view::npos ? 0 : p.whole.size() - firstSignificant;
    const size_t shift = p.exponent.size() > 9 ? SIZE_MAX : std::stoul(std::string(p.exponent));
    return wholeDigits > shift ? kInfinity : 0.0;
}

double ReadDecimal(std::string_view s) {
    const DecimalParts p = SplitDecimal(s);
    if (p.whole.empty() && p.fraction.empty()) return 0;
    std::string text = p.whole.empty() ? "0" : std::string(p.whole);
    if (!p.fraction.empty()) text.append(".").append(p.fraction);
    if (!p.exponent.empty()) text.append("e").append(p.exponentSign).append(p.exponent);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) return OutOfRange(p);
    return value;
}

double ReadSigned(std::string_view s) {
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        const double magnitude = ReadDecimal(s.substr(1));
        return s[0] == '-' ? -magnitude : magnitude;
    }
    return ReadDecimal(s);
}

}  // namespace

double Val(std::string_view text) {
    const std::string s = WithoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return ReadRadix(std::string_view(s).substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return ReadRadix(std::string_view(s).substr(2), 8);
    }
    return ReadSigned(s);
}

int32_t FloorToInt32(double value) {
    if (std::isnan(value)) return 0;
    const double floored = std::floor(value);
    if (floored >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (floored <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(floored);
}

int32_t ValToInt32(std::string_view text) {
    return FloorToInt32(Val(text));
}

}  // namespace kestrova
