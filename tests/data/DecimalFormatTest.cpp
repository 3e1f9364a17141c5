#include "data/DecimalFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "data/NumberSyntax.h"

namespace hk {
namespace {

std::string DigitsOf(long double value, int* point) {
  const DecimalDigits d = ToDecimalDigits(value);
  *point = d.pointPosition;
  return std::string(d.digits, static_cast<std::size_t>(d.count));
}

TEST(DecimalDigits, AreTheExactExpansionRoundedTo18Digits) {
  struct Case {
    long double value;
    const char* digits;
    int point;
  };
  const Case cases[] = {
      {100.0L, "1", 3},
      {0.125L, "125", 0},
      {0.001L, "1", -2},
      // 0.1 is not exact in binary; its expansion continues past the 18th digit
      {0.1L, "1", 0},
      {0.9399999999995998223312199115753173828125L, "939999999999599822", 0},
      // 2^100 = 1267650600228229401496703205376
      {0x1p100L, "12676506002282294", 31},
      // 2^-27 = 7.450580596923828125e-9: a tie at the 18th digit goes to even
      {0x1p-27L, "745058059692382812", -8},
      // 2^-26 = 1.490116119384765625e-8: the tie goes up to the even 2
      {0x1p-26L, "149011611938476562", -7},
      {0.0L, "", 0},
  };
  for (const Case& c : cases) {
    int point = 0;
    EXPECT_EQ(DigitsOf(c.value, &point), c.digits) << static_cast<double>(c.value);
    if (c.digits[0] != '\0') {
      EXPECT_EQ(point, c.point) << static_cast<double>(c.value);
    }
  }
  int point = 0;
  // all nines round up into a new leading digit
  EXPECT_EQ(DigitsOf(0.99999999999999999999L, &point), "1");
  EXPECT_EQ(point, 1);
}

TEST(DecimalDigits, HandleTheWholeExtendedRange) {
  int point = 0;
  EXPECT_EQ(DigitsOf(1e4000L, &point), "1");
  EXPECT_EQ(point, 4001);
  EXPECT_EQ(DigitsOf(1e-4000L, &point), "1");
  EXPECT_EQ(point, -3999);
  EXPECT_FALSE(DigitsOf(0x1p-16445L, &point).empty());  // the smallest denormal
}

struct FixedCase {
  long double value;
  int decimals;
  int width;
  const char* text;
};

TEST(FormatFixed, RoundsHalfUpAtTheFirstDroppedDigit) {
  const FixedCase cases[] = {
      {100.0L, 5, 15, "      100.00000"},
      {0.125L, 2, 15, "           0.13"},
      {-0.125L, 2, 15, "          -0.13"},
      {2.5L, 0, 0, "3"},
      {-2.5L, 0, 0, "-3"},
      {0.004L, 2, 0, "0.00"},
      {0.006L, 2, 0, "0.01"},
      {0.0006L, 2, 0, "0.00"},
      {9.999L, 2, 0, "10.00"},
      {999.5L, 0, 0, "1000"},
      {-0.001L, 2, 0, "0.00"},  // no minus on a value that shows as zero
      {0.0L, 3, 6, " 0.000"},
      {1234.5L, 5, 15, "     1234.50000"},
      {123456789012.5L, 5, 15, "123456789012.50000"},  // wider, never cut
      {0.1L, 20, 0, "0.10000000000000000000"},         // past 18 digits: zeros
      {0x1p100L, 0, 0, "1267650600228229400000000000000"},
      {1000.0L, 0, 10, "      1000"},
      {39.3701L, 5, 10, "  39.37010"},
      {0.0006215L, 5, 10, "   0.00062"},
      {1.5L, 60, 0, "1.5000000000000000000000000000000000000000"},  // decimals bounded at 40
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.decimals, c.width), c.text) << static_cast<double>(c.value);
  }
}

TEST(FormatExponent, SevenDigitsAndAFourDigitExponent) {
  const FixedCase cases[] = {
      {1e36L, 0, 15, " 1.000000E+0036"},         {-1234.5L, 0, 15, "-1.234500E+0003"},
      {0.0L, 0, 15, " 0.000000E+0000"},          {0.001L, 0, 15, " 1.000000E-0003"},
      {9.9999996e36L, 0, 15, " 1.000000E+0037"},  // the carry moves the exponent
      {1.2345675L, 0, 15, " 1.234568E+0000"},    {1e36L, 0, 10, " 1.000000E+0036"},
      {1e36L, 0, 17, "   1.000000E+0036"},
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(FormatExponent(c.value, c.width), c.text) << static_cast<double>(c.value);
  }
}

TEST(ShortestRealText, FewestDigitsThatReadBackExactly) {
  const std::pair<long double, const char*> cases[] = {
      {0.0006215L, "0.0006215"},
      {0.94L, "0.94"},
      {1000.0L, "1000"},
      {-2.5L, "-2.5"},
      {0.0L, "0"},
      {1234567.12345L, "1234567.12345"},
      {1999999999.99L, "1999999999.99"},
      {1e25L, "1E25"},
      {-1.5e-20L, "-1.5E-20"},
      {0.000012L, "0.000012"},
      {1.7e38L, "1.7E38"},
      {0x1p-128L, "2.938735877056E-39"},  // the smallest Real48
      {0x1p-30L, "9.31322574616E-10"},    // rounded up: a power of two reads back further above
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(ShortestRealText(Real48(value)), text) << static_cast<double>(value);
  }
}

TEST(ShortestRealText, EveryRealReadsBackBitForBit) {
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    Real48::Bytes bytes{};
    for (int k = 0; k < 6; ++k) bytes[k] = static_cast<std::uint8_t>(bits >> (8 * k));
    if (bytes[0] == 0) continue;
    const Real48 value = Real48::FromBytes(bytes);
    const std::string text = ShortestRealText(value);
    ASSERT_LE(text.size(), 30u);
    ASSERT_EQ(Real48(*ParseReal(text)).bytes(), value.bytes()) << text;
  }
}

}  // namespace
}  // namespace hk
