#pragma once

// The rules the whole-program walk holds the program to, written afresh from
// the user's side: how a text reads as a number, what a conversion gives and
// how the settings file reads back. None of it calls the program's own
// parsers or formulas, so that a fault in one of those shows as a
// disagreement rather than as the walk's own expectation; only the stored
// real (Real48) is the program's, where a value must be known to its last
// bit as the file loads it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace hk::walk {

// The largest magnitude a stored real holds, (2 - 2^-39) x 2^126, and the
// smallest it keeps; below it a value is stored as 0.
constexpr long double kLargest = 0x1.fffffffffep126L;
constexpr long double kSmallest = 0x1p-128L;

// Whether a value is beyond what a stored real holds: yes, no, or too near the
// edge for a walk computing without the store's rounding to tell.
enum class Fits { Yes, No, Unsure };
Fits FitsStore(long double value);

// Real numbers: blanks, a sign that must not end the text, digits, a point
// that must not end it, digits, an exponent with at least one digit, the end.
std::optional<long double> ReadReal(std::string_view text);

// Whole numbers: blanks, then a sign and decimal digits within 32 bits, or
// "$" and at most eight hexadecimal digits taken as a 32-bit pattern.
std::optional<std::int32_t> ReadWhole(std::string_view text);

// The longest start of a Shift-JIS text within the byte limit that does not
// split a double-byte character.
std::string CutToBytes(std::string_view text, std::size_t limit);

// A rate row's two whole numbers as one value: I + D x 10^-d.
std::optional<long double> RawRateOfRow(std::string_view integerText, std::string_view decimalText,
                                        int decimals);
// A rate row as the panel reads it: its value, refused when that is 0.
std::optional<long double> RateOfRow(std::string_view integerText, std::string_view decimalText,
                                     int decimals);
// The size of the row's two parts, |I| + |D| x 10^-d: the reading adds them,
// each rounded, so its error goes with them rather than with their sum.
long double PartsOfRow(std::string_view integerText, std::string_view decimalText, int decimals);

// Two reals that came by different roads agree within a few units of a
// stored real's last bit, of the larger of them or of `scale`.
bool Near(long double a, long double b, long double scale = 0);

// A unit name as the table keeps it: at most 15 bytes, blanks up to 8.
std::string PaddedName(const std::string& name);

// The colours of the colour indices 0 to 3: black, blue, red, green.
std::uint32_t ColourOfIndex(int index);

std::string WithoutCommas(const std::string& text);
std::string WithoutBlanks(const std::string& text);
std::string Quoted(const std::string& text);

// The number-base category: unit 1 decimal, 2 hexadecimal, 3 octal, 4
// binary. On failure, the title of the message the user must see.
struct BaseResult {
  bool ok = false;
  std::string text;
  std::string failureTitle;
};
BaseResult ConvertBase(const std::string& cleaned, int from, int to);

// The temperature category: 1 Celsius, 2 Fahrenheit, 3 Kelvin.
long double ConvertTemperature(long double t, int from, int to);

// A shown result read back: its value, and its decimals when written with a
// point (-1 for the exponent form, 0 without a point). Nothing when the text
// is not such a number right-aligned in at least 15 characters.
struct ShownNumber {
  long double value = 0;
  int decimals = 0;
};
std::optional<ShownNumber> ReadShownNumber(const std::string& text);

// An initialisation file as the system's profile functions read it: each
// key's whole line, to see which bytes changed, and its value as a reader
// gets it (blanks trimmed, one pair of outer quotes removed). Sections and
// keys in upper case.
struct IniFile {
  using Key = std::pair<std::string, std::string>;
  struct Entry {
    std::string line;
    std::string value;
  };
  std::map<Key, Entry> keys;
  std::optional<std::string> value(const std::string& section, const std::string& key) const;
};
IniFile ReadIni(const std::string& bytes);
std::string Upper(std::string text);

}  // namespace hk::walk
