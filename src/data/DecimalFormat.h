#pragma once

#include <string>

#include "data/Real48.h"

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

// The fewest significant digits whose RealText the real-number parser reads
// back to exactly this Real48 (a Real48 needs at most 14). Zero has none.
DecimalDigits ShortestDigits(const Real48& value);

// Decimal digits as a text of the real-number syntax: plain ("1000",
// "0.0006215", "-2.5") while the point stays near the digits, otherwise with
// an exponent ("1.5E-20", "3E25"). Never more than 30 characters.
std::string RealText(const DecimalDigits& digits);

// The shortest text that reads back as exactly this Real48.
std::string ShortestRealText(const Real48& value);

}  // namespace hk
