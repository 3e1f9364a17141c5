#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hk {

// Units of the number-base category.
constexpr int kDecimalBase = 1;
constexpr int kHexadecimalBase = 2;
constexpr int kOctalBase = 3;
constexpr int kBinaryBase = 4;

struct NumberBaseResult {
  bool ok = false;
  std::string text;         // the result text when ok
  std::string messageText;  // otherwise the message box to show
  std::string messageTitle;
};

// Converts a whole number (commas already removed) from the base of unit
// `from` to the base of unit `to` (from != to).
NumberBaseResult ConvertNumberBase(std::string_view text, int from, int to);

// The value in upper-case hexadecimal without leading zeros; 0 is "0".
std::string HexText(std::uint32_t value);

}  // namespace hk
