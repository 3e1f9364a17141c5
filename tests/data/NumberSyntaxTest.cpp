#include "data/NumberSyntax.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hk {
namespace {

struct RealCase {
  const char* text;
  bool valid;
  long double value;
};

TEST(ParseReal, AcceptsExactlyTheProgramsSyntax) {
  const RealCase cases[] = {
      {"12", true, 12.0L},    {"-3.5", true, -3.5L},    {"+2", true, 2.0L},
      {".5", true, 0.5L},     {"-.5", true, -0.5L},     {"1e3", true, 1000.0L},
      {"2.E2", true, 200.0L}, {"5.e3", true, 5000.0L},  {"1E-2", true, 0.01L},
      {"1e+2", true, 100.0L}, {"   2.54", true, 2.54L}, {"   7.25", true, 7.25L},
      {"e5", true, 0.0L},  // no digits before the exponent: 0
      {"-e5", true, 0.0L},    {".e5", true, 0.0L},      {"007", true, 7.0L},
      {"0", true, 0.0L},      {"", false, 0},           {"   ", false, 0},
      {"-", false, 0},        {"+", false, 0},          {"5.", false, 0},
      {"-.", false, 0},       {"1 000", false, 0},      {"12 ", false, 0},  // a trailing blank
      {"1,000", false, 0},    {"1e", false, 0},         {"1e+", false, 0},
      {"1.5.2", false, 0},    {"\t1", false, 0},   // only blanks are skipped
      {"0x10", false, 0},     {"１２", false, 0},  // full-width digits
      {"--1", false, 0},
  };
  for (const RealCase& c : cases) {
    const std::optional<long double> parsed = ParseReal(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << '"' << c.text << '"';
    if (c.valid) {
      EXPECT_EQ(*parsed, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(ParseReal, RoundsLikeTheNearestExtended) {
  // Fewer than 20 digits and a small exponent: one correctly rounded step.
  EXPECT_EQ(*ParseReal("0.94"), 0.94L);
  EXPECT_EQ(*ParseReal("39.3701"), 39.3701L);
  EXPECT_EQ(*ParseReal("0.0006215"), 0.0006215L);
  EXPECT_EQ(*ParseReal("106.3"), 106.3L);
  // More digits than are kept still give the value to far better than a
  // Real48 can hold.
  EXPECT_NEAR(static_cast<double>(*ParseReal("3.14159265358979323846264338")), 3.14159265358979,
              1e-14);
  EXPECT_NEAR(static_cast<double>(*ParseReal("1234567890123456789012345")), 1.2345678901234568e24,
              1e10);
}

TEST(ParseReal, ExtremeExponentsStayFiniteOrBecomeInfinite) {
  EXPECT_TRUE(std::isinf(*ParseReal("1e99999999999999")));
  EXPECT_EQ(*ParseReal("1e-99999999999999"), 0.0L);
  EXPECT_NEAR(static_cast<double>(*ParseReal("1e300") / 1e300L), 1.0, 1e-15);
  EXPECT_EQ(*ParseReal("0e99999"), 0.0L);
}

struct WholeCase {
  const char* text;
  bool valid;
  std::int32_t value;
};

TEST(ParseWholeNumber, AcceptsSigned32BitDecimalAndDollarHex) {
  const WholeCase cases[] = {
      {"0", true, 0},
      {"12", true, 12},
      {"-4", true, -4},
      {"+7", true, 7},
      {"  42", true, 42},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"$1F", true, 31},
      {"$a", true, 10},
      {"$FFFFFFFF", true, -1},
      {"$80000000", true, INT32_MIN},
      {"-$10", false, 0},  // no sign before "$" (the settings file takes one)
      {"+$1F", false, 0},
      {"$000000001", true, 1},  // leading zeros are not digits that overflow
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"12 ", false, 0},
      {"1.0", false, 0},
      {"1,000", false, 0},
      {"0x10", false, 0},
      {"abc", false, 0},
      {"$G", false, 0},
  };
  for (const WholeCase& c : cases) {
    const std::optional<std::int32_t> parsed = ParseWholeNumber(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << '"' << c.text << '"';
    if (c.valid) {
      EXPECT_EQ(*parsed, c.value) << '"' << c.text << '"';
    }
  }
}

}  // namespace
}  // namespace hk
