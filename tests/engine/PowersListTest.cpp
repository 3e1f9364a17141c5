#include "engine/PowersList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace hk {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr const char* kValueMask = "ZZ,ZZZ,ZZZ,ZZ9";

struct MaskCase {
  std::int32_t value;
  std::string mask;
  std::string expected;
};

TEST(FormatMaskTest, LaysOutDigitsByTheMask) {
  const std::vector<MaskCase> table = {
      {1024, kValueMask, "         1,024"},
      {1073741824, kValueMask, " 1,073,741,824"},
      {kMin, kValueMask, " 2,147,483,648"},
      {5, "ZZ9", "  5"},
      {0, "ZZ9", "  0"},
      {7, "9", "7"},
      // Digits beyond the mask are dropped from the left.
      {12, "9", "2"},
      {123456, "ZZ9", "456"},
      // A comma shows only between digits.
      {999, "Z,ZZ9", "  999"},
      {1000, "Z,ZZ9", "1,000"},
      {12, "99/99", "00/12"},
      {5, "X9", "X5"},
      {5, "", ""},
  };
  for (const MaskCase& c : table) {
    EXPECT_EQ(FormatMask(c.value, c.mask), c.expected) << c.value << " \"" << c.mask << "\"";
  }
}

TEST(FormatMaskTest, SignGoesJustLeftOfTheDigits) {
  const std::vector<MaskCase> table = {
      {-42, "-ZZ9", " -42"},
      {-7, "-ZZ,ZZ9", "     -7"},
      {-5, "-9", "-5"},
      {kMin, "-Z,ZZZ,ZZZ,ZZ9", "-2,147,483,648"},
      // Without a leading "-" in the mask a negative value shows unsigned.
      {-42, "ZZ9", " 42"},
      // No room left for the sign: it is dropped rather than written outside.
      {-1234, "-ZZ9", "1234"},
      {-5, "-", "5"},
  };
  for (const MaskCase& c : table) {
    EXPECT_EQ(FormatMask(c.value, c.mask), c.expected) << c.value << " \"" << c.mask << "\"";
  }
}

TEST(FormatMaskTest, TrailingLowerZBlanksZero) {
  EXPECT_EQ(FormatMask(0, "ZZz"), "   ");
  EXPECT_EQ(FormatMask(5, "ZZz"), "  5");
  EXPECT_EQ(FormatMask(0, "zz9"), "  0");
}

struct ListCase {
  std::int32_t base;
  std::size_t rows;
};

TEST(PowersListTest, RowCountsAndHeader) {
  const std::vector<ListCase> table = {{2, 31}, {8, 11}, {16, 8}, {10, 8}, {0, 8}, {-2, 8}};
  for (const ListCase& c : table) {
    const std::vector<std::string> rows = PowersListRows(c.base);
    ASSERT_EQ(rows.size(), c.rows) << c.base;
    EXPECT_EQ(rows[0], "\x20\x6E\x8F\xE6      ---\x92\x6C---");
    for (std::size_t k = 1; k < rows.size(); ++k) EXPECT_EQ(rows[k].size(), 19u) << k;
  }
}

TEST(PowersListTest, RowsShowTheExponentAndThePower) {
  EXPECT_EQ(PowersListRows(2)[1], "  1" + std::string("  ") + std::string(13, ' ') + "2");
  EXPECT_EQ(PowersListRows(2)[10], " 10" + std::string("  ") + std::string(9, ' ') + "1,024");
  EXPECT_EQ(PowersListRows(2)[30], " 30" + std::string("  ") + " 1,073,741,824");
  EXPECT_EQ(PowersListRows(8)[3], "  3" + std::string("  ") + std::string(11, ' ') + "512");
  EXPECT_EQ(PowersListRows(8)[10], " 10" + std::string("  ") + " 1,073,741,824");
  EXPECT_EQ(PowersListRows(16)[7], "  7" + std::string("  ") + "   268,435,456");
  EXPECT_EQ(PowersListRows(10), PowersListRows(16));
}

std::string DigitsOnly(const std::string& text) {
  std::string digits;
  for (const char c : text) {
    if (c >= '0' && c <= '9') digits += c;
  }
  return digits;
}

// A clicked row must hand over exactly the value it shows.
TEST(PowersListTest, PowerOfMatchesEveryRow) {
  for (const std::int32_t base : {2, 8, 16, 5}) {
    const std::vector<std::string> rows = PowersListRows(base);
    for (std::size_t k = 1; k < rows.size(); ++k) {
      EXPECT_EQ(DigitsOnly(rows[k].substr(5)), std::to_string(PowerOf(base, static_cast<int>(k))))
          << base << "^" << k;
      EXPECT_EQ(DigitsOnly(rows[k].substr(0, 3)), std::to_string(k));
    }
  }
}

struct PowerCase {
  std::int32_t base;
  int k;
  std::int32_t expected;
};

TEST(PowersListTest, PowerOfOutsideTheListWrapsSafely) {
  const std::vector<PowerCase> table = {
      {2, 0, 1},
      {16, 0, 1},
      {10, 2, 256},
      {2, 31, kMin},
      {2, 32, 0},
      {16, 8, 0},
      {8, 11, 0},
      // Ends as soon as the product has wrapped to zero.
      {2, std::numeric_limits<int>::max(), 0},
  };
  for (const PowerCase& c : table) {
    EXPECT_EQ(PowerOf(c.base, c.k), c.expected) << c.base << "^" << c.k;
  }
}

}  // namespace
}  // namespace hk
