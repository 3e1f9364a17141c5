#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hk {

// Lays out an integer by a picture mask ("ZZ9", "ZZ,ZZZ,ZZZ,ZZ9", "9"): the
// text has exactly as many characters as the mask.
std::string FormatMask(std::int32_t value, std::string_view mask);

// The rows of the powers list of base 2, 8 or 16 (any other base is 16): row 0
// is the header, row k shows base^k (30, 10 and 7 rows of powers).
std::vector<std::string> PowersListRows(std::int32_t base);

// base^k as the list shows it.
std::int32_t PowerOf(std::int32_t base, int k);

}  // namespace hk
