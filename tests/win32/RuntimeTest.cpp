// What the 32-bit program relies on from its runtime, checked on Windows
// itself (here: under Wine).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/Real48.h"
#include "engine/FormatResult.h"

namespace hk {
namespace {

TEST(Runtime, LongDoubleKeepsAll64SignificandBits) {
  // The runtime must leave the x87 unit at full precision: with 53 bits this
  // sum would round back to 1.
  volatile long double one = 1.0L;
  volatile long double tiny = 0x1p-63L;
  EXPECT_NE(one + tiny, one);
}

TEST(Runtime, LiteralsAreShiftJis) {
  const std::string yen = "¥ﾍﾞｰｽ1&L";
  EXPECT_EQ(static_cast<unsigned char>(yen[0]), 0x5C);
  EXPECT_EQ(std::string("㎡"), "\x87\x75");
}

TEST(Runtime, FormatsLikeTheNativeBuild) {
  EXPECT_EQ(FormatResult(Real48(100.0L), 5), "      100.00000");
  EXPECT_EQ(FormatResult(Real48(0.94L), 14), "0.93999999999960");
}

}  // namespace
}  // namespace hk
