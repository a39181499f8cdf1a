#pragma once

#include <cstdint>
#include <string_view>

namespace kestrova {

// Reads the number at the start of a text the way the old Val function did: blanks, tabs and
// line feeds are ignored wherever they stand; then an optional sign, digits, a decimal point
// and an exponent ("E" or "D"), or "&H" / "&O" followed by hexadecimal or octal digits.
// Reading stops at the first character that does not fit; no number gives 0. "&H" and "&O"
// numbers are read as non-negative values (no 16- or 32-bit sign wrap). A decimal number too
// large for a double gives an infinity of its sign.
double Val(std::string_view text);

// The largest 32-bit integer not above `value`. Values beyond the 32-bit range are clamped
// to INT32_MIN / INT32_MAX, so an oversized field still fails every range check.
int32_t FloorToInt32(double value);

// FloorToInt32(Val(text)): how the task editor reads its number fields.
int32_t ValToInt32(std::string_view text);

}  // namespace kestrova
