#include "engine/Conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/FloatFault.h"

namespace hk {
namespace {

SelectionState Selected(int category, int from, int to) {
  SelectionState s;
  s.CurrentCategory = category;
  s.CurrentPage = category <= 12 ? 1 : category <= 24 ? 2 : 3;
  s.choosePageRange(s.CurrentPage);
  s.FromUnit = from;
  s.ToUnit = to;
  return s;
}

struct Case {
  int category, from, to;
  const char* text;
  ConversionEnd end;
  const char* result;      // for Converted
  const char* targetText;  // for Converted
};

TEST(RunConversion, EndsAsTheInputDecides) {
  const Case cases[] = {
      {1, 1, 2, "1", ConversionEnd::Converted, "      100.00000", "1"},
      {1, 1, 2, "1,000", ConversionEnd::Converted, "   100000.00000", "1000"},
      {1, 1, 2, ".5", ConversionEnd::Converted, "       50.00000", ".5"},
      {1, 3, 3, "2.5", ConversionEnd::Converted, "        2.50000", "2.5"},
      {1, 1, 1, "123456789012.5", ConversionEnd::Converted, "123456789012.50000", "123456789012.5"},
      {25, 1, 2, "100", ConversionEnd::Converted, "           0.94", "100"},
      {31, 1, 2, "1", ConversionEnd::Converted, "         106.30", "1"},
      {9, 1, 2, "100", ConversionEnd::Converted, "         212.00", "100"},
      {10, 1, 2, "255", ConversionEnd::Converted, "FF", "255"},
      {10, 1, 1, "abc", ConversionEnd::Converted, "abc", "abc"},  // same unit: unchecked
      {10, 1, 4, "1,023", ConversionEnd::Converted, "0011 1111 1111 ", "1023"},
      {1, 1, 2, ",,,", ConversionEnd::InvalidText, "", ""},
      {1, 1, 2, "5.", ConversionEnd::InvalidText, "", ""},
      {1, 1, 2, "12 ", ConversionEnd::InvalidText, "", ""},
      {9, 1, 2, "12 ", ConversionEnd::InvalidText, "", ""},
      {10, 2, 1, "ff", ConversionEnd::BaseError, "", ""},
      {1, -1, 2, "1", ConversionEnd::Silent, "", ""},
      {1, 1, -1, "1", ConversionEnd::Silent, "", ""},
      {1, 1, 2, "", ConversionEnd::Silent, "", ""},
  };
  const CategoryTable table = CategoryTable::BuiltIn();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.category) + ": \"" + c.text + "\"");
    const ConversionOutcome out = RunConversion(table, Selected(c.category, c.from, c.to), c.text);
    EXPECT_EQ(out.end, c.end);
    EXPECT_EQ(out.resultText, c.result);
    EXPECT_EQ(out.targetText, c.targetText);
  }
}

TEST(RunConversion, HandsTheHistoryItsRecord) {
  const CategoryTable table = CategoryTable::BuiltIn();
  const ConversionOutcome out = RunConversion(table, Selected(1, 1, 2), "2,5");
  EXPECT_EQ(out.targetTanni, " ﾒｰﾄﾙ  ");  // names as stored, blanks included
  EXPECT_EQ(out.resultTanni, "ｾﾝﾁﾒｰﾄﾙ");
  EXPECT_EQ(out.targetValue.value(), 25.0L);
  EXPECT_EQ(out.resultValue.value(), 2500.0L);

  const ConversionOutcome base = RunConversion(table, Selected(10, 1, 2), "255");
  EXPECT_TRUE(base.targetValue.isZero());
  EXPECT_TRUE(base.resultValue.isZero());
  EXPECT_EQ(base.targetTanni, "10進数 ");
  EXPECT_EQ(base.resultTanni, "16進数 ");
}

TEST(RunConversion, ReportsTheBaseMessage) {
  const CategoryTable table = CategoryTable::BuiltIn();
  const ConversionOutcome out = RunConversion(table, Selected(10, 1, 4), "262145");
  EXPECT_EQ(out.end, ConversionEnd::BaseError);
  EXPECT_EQ(out.messageTitle, "ｵｰﾊﾞｰﾌﾛｰ");
  EXPECT_EQ(out.messageText, "2進数変換には桁が大きすぎる.2進変換は10進で262,144まで");
}

TEST(RunConversion, ArithmeticFaultsAbandonTheRun) {
  struct FaultCase {
    const char* text;
    int from, to;
    FloatFault::Kind kind;
    const char* message;
  };
  CategoryTable table = CategoryTable::BuiltIn();
  table[1].unit(4).Factor = Real48();  // a unit whose factor is 0
  const FaultCase cases[] = {
      {"3", 4, 1, FloatFault::Kind::ZeroDivide, "0 による浮動小数点数除算"},
      {"0", 4, 1, FloatFault::Kind::InvalidOperation, "不正な浮動小数点数演算命令"},
      {"1e37", 1, 2, FloatFault::Kind::Overflow, "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ"},  // result
      {"1e39", 1, 1, FloatFault::Kind::Overflow, "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ"},  // input
  };
  for (const FaultCase& c : cases) {
    try {
      RunConversion(table, Selected(1, c.from, c.to), c.text);
      ADD_FAILURE() << c.text;
    } catch (const FloatFault& fault) {
      EXPECT_EQ(fault.kind(), c.kind) << c.text;
      EXPECT_EQ(fault.message(), c.message) << c.text;
    }
  }
}

TEST(RunConversion, TheRatePanelTakesPartOnlyOnPage3) {
  CategoryTable table = CategoryTable::BuiltIn();
  std::vector<std::string> calls;
  RatePanelHooks hooks;
  hooks.firstRefresh = [&] { calls.push_back("first"); };
  hooks.readRatesFromPanel = [&] {
    calls.push_back("read");
    table[25].unit(2).Factor = Real48(1.05L);  // the panel's rate wins
  };

  SelectionState money = Selected(25, 1, 2);
  money.RatesChanged = true;
  EXPECT_EQ(RunConversion(table, money, "100", hooks).resultText, "           1.05");
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "read"}));

  calls.clear();
  EXPECT_EQ(RunConversion(table, money, "abc", hooks).end, ConversionEnd::InvalidText);
  EXPECT_EQ(calls, std::vector<std::string>{"first"});  // no reading of an invalid input

  calls.clear();
  money.RatesChanged = false;
  RunConversion(table, money, "1", hooks);
  EXPECT_EQ(calls, std::vector<std::string>{"read"});

  calls.clear();
  RunConversion(table, Selected(1, 1, 2), "1", hooks);
  EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace hk
