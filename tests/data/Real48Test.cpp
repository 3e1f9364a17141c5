#include "data/Real48.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/FloatFault.h"

namespace hk {
namespace {

using Bytes = Real48::Bytes;

struct StoreCase {
  long double value;
  Bytes bytes;
};

TEST(Real48, StoresTheDocumentedBytes) {
  const StoreCase cases[] = {
      {1.0L, {129, 0, 0, 0, 0, 0}},
      {-1.0L, {129, 0, 0, 0, 0, 0x80}},
      {0.5L, {128, 0, 0, 0, 0, 0}},
      {3.0L, {130, 0, 0, 0, 0, 0x40}},
      {0.0L, {0, 0, 0, 0, 0, 0}},
      {-0.0L, {0, 0, 0, 0, 0, 0}},
      {0x1p-128L, {1, 0, 0, 0, 0, 0}},
      // the largest magnitude: every fraction bit set, exponent 255
      {0x1.fffffffffep126L, {255, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const StoreCase& c : cases) {
    const Real48 r(c.value);
    EXPECT_EQ(r.bytes(), c.bytes) << static_cast<double>(c.value);
    EXPECT_EQ(Real48::FromBytes(c.bytes).value(), c.value == 0 ? 0.0L : c.value);
  }
}

struct RoundCase {
  long double in;
  long double stored;
};

TEST(Real48, RoundsTo40BitsWithHalvesAwayFromZero) {
  const RoundCase cases[] = {
      {1.0L + 0x1p-40L, 1.0L + 0x1p-39L},  // a dropped half goes away from zero
      {-(1.0L + 0x1p-40L), -(1.0L + 0x1p-39L)},
      {1.0L + 0x1p-40L - 0x1p-60L, 1.0L},             // below the half
      {1.0L + 0x1p-39L + 0x1p-40L, 1.0L + 0x1p-38L},  // a half after an odd last bit
      {2.0L - 0x1p-41L, 2.0L},                        // the carry moves the exponent
      {0.94L, 0.9399999999995998223312199115753173828125L},
      {0x1p-128L * 0.75L, 0.0L},  // below 2^-128: zero
      {-0x1p-129L, 0.0L},
  };
  for (const RoundCase& c : cases) {
    EXPECT_EQ(Real48(c.in).value(), c.stored) << static_cast<double>(c.in);
  }
  EXPECT_TRUE(Real48(0x1p-129L).isZero());
}

TEST(Real48, TooLargeOrNotANumberIsAFault) {
  struct FaultCase {
    long double value;
    FloatFault::Kind kind;
  };
  const FaultCase cases[] = {
      {0x1p127L, FloatFault::Kind::Overflow},
      {-0x1p127L, FloatFault::Kind::Overflow},
      {0x1.ffffffffffp126L, FloatFault::Kind::Overflow},  // rounds up to 2^127
      {1e39L, FloatFault::Kind::Overflow},
      {INFINITY, FloatFault::Kind::Overflow},
      {NAN, FloatFault::Kind::InvalidOperation},
  };
  for (const FaultCase& c : cases) {
    try {
      Real48 r(c.value);
      ADD_FAILURE() << "stored " << static_cast<double>(c.value);
    } catch (const FloatFault& fault) {
      EXPECT_EQ(fault.kind(), c.kind);
    }
  }
}

TEST(FloatFault, CarriesTheTextsTheErrorReportShows) {
  EXPECT_EQ(FloatFault(FloatFault::Kind::Overflow).message(), "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ");
  EXPECT_EQ(FloatFault(FloatFault::Kind::ZeroDivide).message(), "0 による浮動小数点数除算");
  EXPECT_EQ(FloatFault(FloatFault::Kind::InvalidOperation).message(), "不正な浮動小数点数演算命令");
  EXPECT_STREQ(FloatFault(FloatFault::Kind::ZeroDivide).what(), "0 による浮動小数点数除算");
}

TEST(FloatFault, DivisionChecksItsDivisor) {
  EXPECT_EQ(CheckedDivide(1.0L, 4.0L), 0.25L);
  try {
    CheckedDivide(5.0L, 0.0L);
    ADD_FAILURE();
  } catch (const FloatFault& fault) {
    EXPECT_EQ(fault.kind(), FloatFault::Kind::ZeroDivide);
  }
  try {
    CheckedDivide(0.0L, 0.0L);
    ADD_FAILURE();
  } catch (const FloatFault& fault) {
    EXPECT_EQ(fault.kind(), FloatFault::Kind::InvalidOperation);
  }
}

}  // namespace
}  // namespace hk
