#pragma once

namespace hk {

// Keys as the system's virtual-key numbers, which the components take as
// they are (the function-key hook does too).
namespace key {
constexpr unsigned kTab = 0x09;
constexpr unsigned kReturn = 0x0D;
constexpr unsigned kAlt = 0x12;  // pressed and released alone
constexpr unsigned kEscape = 0x1B;
constexpr unsigned kSpace = 0x20;
constexpr unsigned kPageUp = 0x21;
constexpr unsigned kPageDown = 0x22;
constexpr unsigned kEnd = 0x23;
constexpr unsigned kHome = 0x24;
constexpr unsigned kLeft = 0x25;
constexpr unsigned kUp = 0x26;
constexpr unsigned kRight = 0x27;
constexpr unsigned kDown = 0x28;
constexpr unsigned kDelete = 0x2E;
constexpr unsigned kApps = 0x5D;
constexpr unsigned kNumpadAdd = 0x6B;
constexpr unsigned kNumpadSubtract = 0x6D;
constexpr unsigned kF1 = 0x70;
constexpr unsigned kF10 = 0x79;
constexpr unsigned kPlus = 0xBB;   // the main keyboard's "+" key ("=" on some layouts)
constexpr unsigned kMinus = 0xBD;  // the main keyboard's "-" key
// A letter or a digit is its upper-case ASCII code.
constexpr unsigned Char(char c) { return static_cast<unsigned char>(c); }
}  // namespace key

// Modifier keys held with a key, as bits.
enum KeyModifiers : unsigned { kNoModifiers = 0, kShift = 1, kCtrl = 2, kAltHeld = 4 };

}  // namespace hk
