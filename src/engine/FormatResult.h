#pragma once

#include <string>

namespace hk {

constexpr int kResultWidth = 15;

// The result text of a conversion: fixed point with the unit's decimals,
// right-aligned with blanks in `width` characters (a longer text is not cut);
// the exponent form of FormatExponent for magnitudes of 10^36 and more (as
// their 18-digit decimal form tells) and for negative decimals.
std::string FormatResult(long double value, int decimals, int width = kResultWidth);

// What the automatic clipboard copy puts on the clipboard: the result text
// without its blanks.
std::string ClipboardTextOf(const std::string& resultText);

}  // namespace hk
