#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hk {

// The real-number syntax of every text-to-real reading in the program (the
// input box, the settings file's DATA keys, the rate panel's rate texts, the
// customisation dialog's value boxes): optional leading blanks; an optional
// sign, after which the text must not end; digits; optionally "." that is not
// the last character, followed by digits; optionally "E" or "e", an optional
// sign and at least one digit; then the end. ".5", "1e3", "5.e3" and "e5"
// (which is 0) are valid; "", "  ", "-", "5.", "1e", "1 000" and "12 " are
// not. The value is the digits scaled by ten to the power of the point and
// the exponent, in extended precision; it can be beyond the Real48 range, and
// is infinite when beyond the extended one: storing it decides.
std::optional<long double> ParseReal(std::string_view text);

// Whether a sign may stand before "$": the settings file's integer keys take
// "-$10", the decimal base input and the rate panel's edits do not.
enum class SignedHex { Refused, Accepted };

// The whole-number syntax (the decimal base input, the rate panel's edits, the
// settings file's integer keys): optional leading blanks, then an optional
// "+" or "-" and decimal digits, or "$" and hexadecimal digits of either
// case, and nothing after them. A decimal value must lie in the signed 32-bit
// range; a "$" value is a 32-bit pattern of at most 8 significant digits
// ("$FFFFFFFF" is -1), negated when a sign before it is accepted.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text,
                                             SignedHex signedHex = SignedHex::Refused);

}  // namespace hk
