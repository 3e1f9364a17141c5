#include "engine/FormatResult.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/Real48.h"

namespace hk {
namespace {

TEST(FormatResult, FixedBelow10To36AndExponentFromThere) {
  struct Case {
    long double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {Real48(100.0L), 5, "      100.00000"},
      {Real48(0.125L), 2, "           0.13"},
      {Real48(-0.125L), 2, "          -0.13"},
      {Real48(0.94L), 14, "0.93999999999960"},
      {Real48(0.94L), 2, "           0.94"},
      {1e36L, 5, " 1.000000E+0036"},
      {-1e37L, 2, "-1.000000E+0037"},
      {Real48(1e37L), 0, " 1.000000E+0037"},
      // the nearest Real48 of 10^36 is below it and still prints in full
      {Real48(1e36L), 0, "999999999999966543000000000000000000"},
      {Real48(1234.5L), -1, " 1.234500E+0003"},  // negative decimals: always exponent
      {0.0L, -3, " 0.000000E+0000"},
      {Real48(1000.0L), 0, "           1000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatResult(c.value, c.decimals), c.text) << static_cast<double>(c.value);
  }
}

TEST(FormatResult, WidthTenForTheCustomisationBoxes) {
  EXPECT_EQ(FormatResult(Real48(1000.0L), 0, 10), "      1000");
  EXPECT_EQ(FormatResult(Real48(39.3701L), 5, 10), "  39.37010");
  EXPECT_EQ(FormatResult(Real48(0.0006215L), 5, 10), "   0.00062");
}

TEST(FormatResult, NonFiniteValuesGetAText) {
  EXPECT_EQ(FormatResult(INFINITY, 2), "            INF");
  EXPECT_EQ(FormatResult(-INFINITY, 2), "           -INF");
  EXPECT_EQ(FormatResult(NAN, 2), "            NAN");
}

TEST(ClipboardText, IsTheResultWithoutBlanks) {
  EXPECT_EQ(ClipboardTextOf("       1,234.50"), "1,234.50");
  EXPECT_EQ(ClipboardTextOf("0101 1111 "), "01011111");
  EXPECT_EQ(ClipboardTextOf("               "), "");
}

}  // namespace
}  // namespace hk
