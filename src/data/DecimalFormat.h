#pragma once

#include <string>

namespace hk {

// The decimal form of a finite value with 18 significant digits: the exact
// decimal expansion, rounded to 18 digits (a tie to even, as the x87 store
// does). value = 0.digits[0]digits[1]... x 10^pointPosition.
struct DecimalDigits {
  bool negative = false;
  char digits[18] = {};  // '0'..'9'; no trailing zeros
  int count = 0;         // 0 for zero
  int pointPosition = 0;
};

DecimalDigits ToDecimalDigits(long double value);

// Decimals above this are shown as this many: every digit past the 18th
// significant one is 0 anyway, and the text stays bounded.
constexpr int kMaxFixedDecimals = 40;

// Fixed point with `decimals` digits after the point (no point for 0),
// rounded half up at the first dropped digit of the 18-digit form, "-" for a
// negative value that does not round to zero, padded on the left with blanks
// to `width`; a longer text is not cut.
std::string FormatFixed(long double value, int decimals, int width);
std::string FormatFixed(const DecimalDigits& digits, int decimals, int width);

// Sign position (blank or "-"), one digit, ".", six digits, "E", the exponent's
// sign and four exponent digits (15 characters), rounded half up to seven
// significant digits, padded on the left to `width`.
std::string FormatExponent(long double value, int width);

}  // namespace hk
