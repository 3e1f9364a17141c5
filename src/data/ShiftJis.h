#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hk {

// Every text of the program is a Shift-JIS byte string (code page 932);
// lengths and limits count bytes: a full-width character is 2, a half-width
// katakana or ASCII character 1.

// True for the first byte of a double-byte character.
constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest prefix of text of at most maxBytes bytes that does not split a
// double-byte character.
std::string_view SjisCut(std::string_view text, std::size_t maxBytes);

// A unit name shorter than 8 bytes gets blanks appended up to 8 bytes.
std::string PadUnitName(std::string_view name);

// Removes every byte equal to ch. Safe for Shift-JIS when ch is below 0x40,
// which no trail byte can be.
std::string RemoveByte(std::string_view text, char ch);

}  // namespace hk
