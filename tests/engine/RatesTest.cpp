#include "engine/Rates.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "data/NumberSyntax.h"

namespace hk {
namespace {

UnitRecord Unit(long double factor, std::int32_t decimals) {
  UnitRecord u;
  u.Name = "ﾃｽﾄ    ";
  u.Factor = Real48(factor);
  u.Decimals = decimals;
  return u;
}

struct RowCase {
  UnitRecord unit;
  const char *integerText, *decimalText;
  SpinnerSetting integerSpinner, decimalSpinner;  // minimum, maximum, position
};

void ExpectRow(const RowCase& c) {
  const RateRowDisplay row = RateRowOf(c.unit);
  SCOPED_TRACE(static_cast<double>(c.unit.Factor.value()));
  EXPECT_TRUE(row.enabled);
  EXPECT_EQ(row.label, c.unit.Name);
  EXPECT_EQ(row.integerText, c.integerText);
  EXPECT_EQ(row.decimalText, c.decimalText);
  const SpinnerSetting* got[] = {&row.integerSpinner, &row.decimalSpinner};
  const SpinnerSetting* want[] = {&c.integerSpinner, &c.decimalSpinner};
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(got[k]->minimum, want[k]->minimum) << k;
    EXPECT_EQ(got[k]->maximum, want[k]->maximum) << k;
    EXPECT_EQ(got[k]->position, want[k]->position) << k;
    EXPECT_EQ(got[k]->usable, want[k]->usable) << k;
  }
}

TEST(RateRowOf, ShowsTheStoredRatesOwnDigits) {
  const CategoryTable t = CategoryTable::BuiltIn();
  const RowCase cases[] = {
      {t[31].unit(2), "106", "30", {53, 212, 106}, {0, 99, 30}},
      {t[31].unit(1), "1", "0", {0, 10, 1}, {0, 99, 0}},
      {t[25].unit(2), "0", "94", {0, 10, 0}, {0, 99, 94}},  // stored below 0.94
      {t[32].unit(4), "1", "40", {0, 10, 1}, {0, 99, 40}},  // stored below 1.4
      {t[25].unit(6), "1", "25", {0, 10, 1}, {0, 99, 25}},
      {t[1].unit(6), "0", "62", {0, 10, 0}, {0, 99999, 62}},  // 0.0006215, d = 5
      {Unit(2.679L, 2), "2", "67", {1, 4, 2}, {0, 99, 67}},   // cut, not rounded
      {Unit(0.999999999999L, 2), "1", "0", {0, 10, 1}, {0, 99, 0}},
      // every digit that the Real48 holds, beyond eleven
      {Unit(1234567.12345L, 5), "1234567", "12345", {617283, 2469134, 1234567}, {0, 99999, 12345}},
      {Unit(1999999999.99L, 2),
       "1999999999",
       "99",
       {999999999, INT32_MAX, 1999999999},
       {0, 99, 99}},
      {Unit(3.14159L, 4), "3", "1415", {1, 6, 3}, {0, 9999, 1415}},
      {Unit(1.4L, 0), "1", "0", {0, 10, 1}, {0, 0, 0}},
      {Unit(1.4L, -3), "1", "0", {0, 10, 1}, {0, 0, 0}},
      // 32-bit spinners; beyond them a spinner is off and the text keeps every digit
      {Unit(20000.12345L, 5), "20000", "12345", {10000, 40000, 20000}, {0, 99999, 12345}},
      {Unit(40000.5L, 1), "40000", "5", {20000, 80000, 40000}, {0, 9, 5}},
      {Unit(0.99999L, 5), "0", "99999", {0, 10, 0}, {0, 99999, 99999}},
      {Unit(1e12L, 2), "1000000000000", "0", {1 << 30, INT32_MAX, INT32_MAX, false}, {0, 99, 0}},
      {Unit(0.5L, 10), "0", "5000000000", {0, 10, 0}, {0, INT32_MAX, INT32_MAX, false}},
      // a hand-edited negative factor: I truncated toward zero, D negative too
      {Unit(-1.4L, 2), "-1", "-40", {0, 10, -1}, {-99, 0, -40}},
      {Unit(-0.5L, 2), "0", "-50", {0, 10, 0}, {-99, 0, -50}},
      {Unit(-2.5L, 2), "-2", "-50", {-1, 10, -2}, {-99, 0, -50}},
      {Unit(-50000, 0), "-50000", "0", {-25000, 10, -50000}, {0, 0, 0}},
  };
  for (const RowCase& c : cases) ExpectRow(c);

  EXPECT_EQ(RateRowOf(Unit(0.5L, 2147483647)).decimalText, "5" + std::string(39, '0'));
  const RateRowDisplay empty = RateRowOf(t[32].unit(8));
  EXPECT_FALSE(empty.enabled);
  EXPECT_EQ(empty.label + empty.integerText + empty.decimalText, "");
}

// What the panel shows for a factor reads back as that factor, and what a
// row reads saves as a text that the file gives back as the same factor.
TEST(RateRowOf, EveryTwoDecimalRateReadsBackUnchanged) {
  for (const std::int32_t i : {0, 1, 7, 106, 12345}) {
    for (std::int32_t d = i == 0 ? 1 : 0; d < 100; ++d) {  // a rate of 0 is an empty unit
      for (const int sign : {1, -1}) {
        const RowRate typed =
            *ReadRateRow({std::to_string(sign * i), std::to_string(sign * d)}, 2).rate;
        ASSERT_EQ(Real48(*ParseReal(typed.text)).bytes(), typed.factor.bytes()) << typed.text;
        const RateRowDisplay shown = RateRowOf(Unit(typed.factor, 2));
        const RowReading again = ReadRateRow({shown.integerText, shown.decimalText}, 2);
        ASSERT_TRUE(again.rate) << typed.text;
        ASSERT_EQ(again.rate->text, typed.text);
        ASSERT_EQ(again.rate->factor.bytes(), typed.factor.bytes()) << typed.text;
      }
    }
  }
}

// Each edit in the whole-number syntax, then I + D x 10^-d with each part's
// own sign, written exactly with the unit's decimals.
TEST(RateRow, ReadsBothEditsAsWholeNumbersIntoOneRate) {
  const struct {
    RateRowTexts row;
    std::int32_t decimals;
    const char* text;    // nothing when refused
    bool inDecimalPart;  // where it refused
  } cases[] = {
      {{"0", "5"}, 2, "0.05", false},
      {{"3", "0"}, 0, "3.0", false},
      {{"3", "7"}, 0, "10.0", false},
      {{"1", "123"}, 2, "2.23", false},
      {{"99", "999"}, 2, "108.99", false},
      {{"007", "05"}, 3, "7.005", false},
      {{"1", "5"}, -2, "6.0", false},
      {{"+1", "94"}, 2, "1.94", false},
      {{"$A", "94"}, 2, "10.94", false},
      {{" 1", "94"}, 2, "1.94", false},
      {{"1", "  $f"}, 2, "1.15", false},
      {{"$FFFFFFFF", "0"}, 2, "-1.00", false},
      {{"1", "-5"}, 2, "0.95", false},
      {{"-1", "50"}, 2, "-0.50", false},
      {{"-1", "-50"}, 2, "-1.50", false},
      {{"0", "-50"}, 2, "-0.50", false},
      {{"-3", "7"}, 0, "4.0", false},
      {{"-2147483648", "-2147483648"}, 2, "-2168958484.48", false},
      {{"2147483647", "1"}, 5, "2147483647.00001", false},
      {{"0", "1"}, 38, "0.00000000000000000000000000000000000001", false},
      {{"", ""}, 2, nullptr, false},
      // A factor of 0 is an empty unit to the file.
      {{"0", "0"}, 2, nullptr, false},
      {{"-0", "$0"}, 2, nullptr, false},
      {{"1", "-100"}, 2, nullptr, false},
      {{"-3", "3"}, 0, nullptr, false},
      {{"0", "1"}, 39, nullptr, false},
      {{"0", "1"}, 45, nullptr, false},
      {{"1a", "0"}, 2, nullptr, false},
      {{"1 ", "0"}, 2, nullptr, false},
      {{"-$10", "0"}, 2, nullptr, false},
      {{"１", "0"}, 2, nullptr, false},
      {{"2147483648", "0"}, 2, nullptr, false},
      {{"12345678901234567890", "1"}, 2, nullptr, false},
      {{"1", ""}, 2, nullptr, true},
      {{"1", "5 "}, 2, nullptr, true},
      {{"1", "1,000"}, 2, nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row.integerText + "|" + c.row.decimalText);
    const RowReading reading = ReadRateRow(c.row, c.decimals);
    ASSERT_EQ(reading.rate.has_value(), c.text != nullptr);
    if (!reading.rate) {
      EXPECT_EQ(reading.inDecimalPart, c.inDecimalPart);
      continue;
    }
    EXPECT_EQ(reading.rate->text, c.text);
    EXPECT_EQ(reading.rate->factor.bytes(), Real48(*ParseReal(c.text)).bytes());
  }
}

TEST(RateFirstRefresh, StoresEveryRowThatTheRowRuleReads) {
  CategoryRecord c = CategoryTable::BuiltIn()[31];
  RatePanelTexts rows{{{"1", "5"},
                       {"106", "30"},
                       {"abc", "0"},                       // not a number: kept
                       {"1" + std::string(40, '0'), "0"},  // beyond 32 bits: kept
                       {"", "5"},                          // kept
                       {"-2", "5"},
                       {"", ""},  // no rate: kept
                       {"1", "150"},
                       {"1", "-100"}}};  // 0: kept
  const RateRows read = ApplyRateTexts(c, rows);
  const long double want[] = {1.05L, 106.3L, 1.5L, 1, 1, -1.95L, 300, 2.5L, 1.2L};
  for (int u = 1; u <= 9; ++u)
    EXPECT_EQ(c.unit(u).Factor.value(), Real48(want[u - 1]).value()) << u;
  EXPECT_EQ(read, (RateRows{true, true, false, false, false, true, false, true, false}));
}

TEST(RateRead, StopsAtTheFirstEditThatIsNotAWholeNumber) {
  const struct {
    RateRowTexts row5;
    std::optional<RateReadError> error;
  } cases[] = {{{"1a", "0"}, RateReadError{5, false}}, {{"", "0"}, RateReadError{5, false}},
               {{"2", "x"}, RateReadError{5, true}},   {{"-$10", "0"}, RateReadError{5, false}},
               {{"$0", "0"}, RateReadError{5, false}}, {{"$10", "5"}, std::nullopt}};
  for (const auto& c : cases) {
    CategoryRecord cat = CategoryTable::BuiltIn()[32];
    cat.unit(3).Factor = Real48();
    RatePanelTexts rows{
        {{"2", "5"}, {"100", "0"}, {"?", "?"}, {"3", "7"}, c.row5, {"9", "9"}, {"4", "0"}}};
    std::array<bool, kUnitsPerCategory> shown{true, true, false, true, true, true, true};
    const std::optional<RateReadError> error = ReadRatesFromPanel(cat, rows, shown);
    ASSERT_EQ(error.has_value(), c.error.has_value());
    EXPECT_EQ(cat.unit(4).Factor.value(), Real48(3.07L).value());
    EXPECT_TRUE(cat.unit(3).isEmpty());
    if (error) {
      EXPECT_EQ(error->row, c.error->row);
      EXPECT_EQ(error->inDecimalPart, c.error->inDecimalPart);
      EXPECT_EQ(cat.unit(6).Factor.value(), Real48(35).value());
    } else {
      EXPECT_EQ(cat.unit(5).Factor.value(), Real48(16.05L).value());
      EXPECT_EQ(cat.unit(6).Factor.value(), Real48(9.09L).value());
    }
  }
}

TEST(RateSave, WritesEveryRowThatReadsAndStopsWhenTheWriteFails) {
  const RatePanelTexts rows{{{"1", "5"}, {"", ""}, {"x", "1"}, {"0", "5"}, {"+2", "0"}}};
  const CategoryRecord c = CategoryTable::BuiltIn()[31];
  std::vector<std::pair<int, std::string>> written;
  WriteRates(c, rows, [&](int u, const std::string& text) { written.emplace_back(u, text); });
  EXPECT_EQ(written,
            (std::vector<std::pair<int, std::string>>{{1, "1.05"}, {4, "0.05"}, {5, "2.00"}}));

  written.clear();
  EXPECT_THROW(WriteRates(c, rows,
                          [&](int u, const std::string& text) {
                            if (u == 4) throw std::runtime_error("disk full");
                            written.emplace_back(u, text);
                          }),
               std::runtime_error);
  EXPECT_EQ(written, (std::vector<std::pair<int, std::string>>{{1, "1.05"}}));
}

TEST(RateUntouchedRow, KeepsAFactorFinerThanItsDecimals) {
  CategoryRecord c = CategoryTable::BuiltIn()[25];
  c.unit(2) = Unit(0.0094L, 2);
  const Real48 fine = c.unit(2).Factor;
  const RateRowDisplay shown = RateRowOf(c.unit(2));
  RatePanelTexts filled{{{"1", "0"}, {shown.integerText, shown.decimalText}}};
  RatePanelTexts now = filled;
  now[0] = {"1", "5"};
  const UntouchedRows untouched = UntouchedRowsOf(now, filled);
  ApplyRateTexts(c, now, untouched);
  ASSERT_EQ(c.unit(2).Factor.bytes(), fine.bytes());
  ASSERT_FALSE(ReadRatesFromPanel(c, now, {true, true}, untouched));
  std::vector<std::pair<int, std::string>> written;
  ApplyRateTexts(c, now, untouched);
  WriteRates(
      c, now, [&](int u, const std::string& text) { written.emplace_back(u, text); }, untouched);
  EXPECT_EQ(c.unit(2).Factor.bytes(), fine.bytes());
  ASSERT_GE(written.size(), 2u);
  EXPECT_EQ(written[0], (std::pair<int, std::string>{1, "1.05"}));
  EXPECT_EQ(written[1], (std::pair<int, std::string>{2, "0.0094"}));
}

}  // namespace
}  // namespace hk
