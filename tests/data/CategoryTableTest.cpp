#include "data/CategoryTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/NumberSyntax.h"

namespace hk {
namespace {

struct UnitBytes {
  const char* name;
  long double factor;  // the decimal as listed; the stored value is its nearest Real48
  std::int32_t decimals;
  std::uint32_t colour;
};

void ExpectUnits(const CategoryRecord& category, const std::vector<UnitBytes>& units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const UnitRecord& u = category.Units[i];
    SCOPED_TRACE("unit " + std::to_string(i + 1));
    EXPECT_EQ(u.Name, units[i].name);
    EXPECT_EQ(u.Factor.value(), Real48(units[i].factor).value());
    EXPECT_EQ(u.Decimals, units[i].decimals);
    EXPECT_EQ(u.Colour, units[i].colour);
  }
}

constexpr const char* kEmpty = "       ";  // seven blanks

TEST(CategoryTable, BuiltInCategoriesAreByteForByte) {
  const CategoryTable t = CategoryTable::BuiltIn();

  EXPECT_EQ(t[1].CategoryName, "長さ1&L");
  EXPECT_EQ(t[1].IconResource, "BM_LEN");
  ExpectUnits(t[1], {{" ﾒｰﾄﾙ  ", 1, 5, kBlue},
                     {"ｾﾝﾁﾒｰﾄﾙ", 100, 5, kBlue},
                     {" ｲ ﾝ ﾁ ", 39.3701L, 5, kBlue},
                     {" ﾌｨｰ ﾄ ", 3.28084L, 5, kBlue},
                     {" ﾔ ｰ ﾄﾞ", 1.09361L, 5, kBlue},
                     {" ﾏ ｲ ﾙ ", 0.0006215L, 5, kBlue},
                     {" ﾁｪｰ ﾝ ", 0.04971L, 5, kBlue},
                     {"ﾌｧｰﾛﾝｸﾞ", 0.004971L, 5, kBlue},
                     {kEmpty, 0, 5, kBlue}});

  EXPECT_EQ(t[9].CategoryName, "温度&U");
  EXPECT_EQ(t[9].IconResource, "BM_DEGREE");
  ExpectUnits(t[9], {{"摂氏℃ ", 1, 2, kBlue},
                     {"華氏Ｆ ", 1, 2, kBlue},
                     {"絶対温度Ｋ", 1, 2, kBlue},
                     {kEmpty, 0, 0, kBlue}});
  EXPECT_EQ(t[9].unit(3).Name.size(), 10u);

  EXPECT_EQ(t[10].CategoryName, "ﾊﾟｿｺﾝ&Z");
  EXPECT_EQ(t[10].IconResource, "BM_COMPUTER");
  ExpectUnits(t[10], {{"10進数 ", 1, 0, kBlue},
                      {"16進数 ", 1, 0, kBlue},
                      {" 8進数 ", 1, 0, kBlue},
                      {" 2進数 ", 1, 0, kBlue},
                      {kEmpty, 0, 0, kBlue}});

  EXPECT_EQ(t[11].CategoryName, "運動&Y");
  EXPECT_EQ(t[11].IconResource, "BM_EXER1");
  ExpectUnits(t[11], {{"散歩2･3k/h", 38, 1, kBlue},
                      {"早足4･5k/h", 29, 1, kBlue},
                      {"ｼﾞｮｷﾞﾝｸﾞ7k/h", 16, 1, kBlue},
                      {"ｼﾞｮｷﾞﾝｸ10k/h", 11, 1, kBlue},
                      {"ﾗﾝﾆﾝｸﾞ12k/h", 8, 1, kBlue},
                      {"ﾗﾝﾆﾝｸﾞ13k/h", 7, 1, kBlue},
                      {"消費糖分g", 25, 1, kBlue},
                      {"消費脂肪g", 11, 1, kBlue},
                      {"使用ｶﾛﾘｰCal", 100, 1, kRed}});

  EXPECT_EQ(t[25].CategoryName,
            "\x5C\xCD\xDE\xB0\xBD"
            "1&L");  // ¥ﾍﾞｰｽ1&L
  EXPECT_EQ(t[25].IconResource, "BM_MONEY");
  ExpectUnits(t[25], {{"円     ", 100, 2, kRed},
                      {"米ドル ", 0.94L, 2, kBlue},
                      {"加ドル ", 0.9L, 2, kBlue},
                      {"香港ﾄﾞﾙ ", 0.8L, 2, kBlue},
                      {"豪ドル ", 0.6L, 2, kBlue},
                      {"英ﾎﾞﾝﾄﾞ", 1.25L, 2, kBlue},
                      {"中国元 ", 10, 2, kBlue},
                      {"露ﾙｰﾌﾞﾙ ", 5, 2, kBlue},
                      {"仏ﾌﾗﾝ  ", 6, 2, kBlue}});

  EXPECT_EQ(t[31].CategoryName, "$ﾍﾞｰｽ1&O");
  EXPECT_EQ(t[31].IconResource, "BM_MONEY2");
  ExpectUnits(t[31], {{"米ドル ", 1, 2, kRed},
                      {"円     ", 106.3L, 2, kBlue},
                      {"加ドル ", 1.5L, 2, kBlue},
                      {"香港ﾄﾞﾙ", 1, 2, kBlue},
                      {"豪ドル ", 1, 2, kBlue},
                      {"英ﾎﾞﾝﾄﾞ", 0.5L, 2, kBlue},
                      {"中国元 ", 300, 2, kBlue},
                      {"露ﾙｰﾌﾞﾙ", 200, 2, kBlue},
                      {"仏ﾌﾗﾝ  ", 1.2L, 2, kBlue}});
}

TEST(CategoryTable, EveryCategoryFitsItsFields) {
  const CategoryTable t = CategoryTable::BuiltIn();
  const char kLetters[] = "LVWYTSOQUZYM";
  for (int c = 1; c <= kCategoryCount; ++c) {
    SCOPED_TRACE("category " + std::to_string(c));
    const std::string& name = t[c].CategoryName;
    ASSERT_GE(name.size(), 2u);
    EXPECT_LE(name.size(), static_cast<std::size_t>(kMaxCategoryNameBytes));
    EXPECT_EQ(name[name.size() - 2], '&');
    EXPECT_EQ(name.back(), kLetters[(c - 1) % 12]);
    EXPECT_EQ(t[c].IconKind, 0);
    for (const UnitRecord& u : t[c].Units) {
      EXPECT_LE(u.Name.size(), static_cast<std::size_t>(kMaxUnitNameBytes));
      if (u.isEmpty()) {
        EXPECT_EQ(u.Name, kEmpty);
      }
    }
  }
  for (int c = 13; c <= 24; ++c) {
    EXPECT_EQ(t[c].IconResource, "BM_OTHER");
    EXPECT_EQ(t[c].CategoryName.size(), 2u);
    for (const UnitRecord& u : t[c].Units) {
      EXPECT_TRUE(u.isEmpty());
      EXPECT_EQ(u.Decimals, 1);
    }
  }
  for (int c = 26; c <= 30; ++c) {
    EXPECT_EQ(t[c].CategoryName[0], '\x5C');
  }
  // the decimals of empty slots differ between categories
  EXPECT_EQ(t[3].unit(8).Decimals, 0);
  EXPECT_EQ(t[26].unit(9).Decimals, 2);
  EXPECT_EQ(t[27].unit(2).Decimals, 2);
}

// Each factor is the Real48 nearest to its decimal: the decimal read in
// extended precision (error below 2^-63 relative) lies closer to the stored
// value than half a Real48 step, with room to spare for that error.
TEST(CategoryTable, FactorsAreTheNearestReal48OfTheirDecimals) {
  const CategoryTable t = CategoryTable::BuiltIn();
  const char* listed[][3] = {{"1", "3", "39.3701"},    {"2", "3", "3300.33003"},
                             {"2", "9", "0.0091743"},  {"3", "5", "0.3024995"},
                             {"4", "8", "0.00554352"}, {"5", "7", "0.00026667"},
                             {"8", "2", "0.9863216"},  {"8", "4", "7307.86"},
                             {"25", "2", "0.94"},      {"31", "2", "106.3"}};
  for (const auto& row : listed) {
    const long double decimal = *ParseReal(row[2]);
    const Real48 stored = t[std::stoi(row[0])].unit(std::stoi(row[1])).Factor;
    int exponent = 0;
    std::frexp(stored.value(), &exponent);
    const long double halfStep = std::ldexp(1.0L, exponent - 41);
    EXPECT_LT(std::fabs(decimal - stored.value()), halfStep * (1 - 0x1p-20L)) << row[2];
  }
}

TEST(CategoryTable, NamesAreSetWithinTheirFields) {
  UnitRecord unit;
  SetUnitName(unit, " ﾒｰﾄﾙ  ");
  EXPECT_EQ(unit.Name, " ﾒｰﾄﾙ   ");
  SetUnitName(unit, "ｍ");
  EXPECT_EQ(unit.Name, "ｍ      ");
  SetUnitName(unit, "あいうえおかきくけこ");  // 20 bytes: cut at 14, not inside a character
  EXPECT_EQ(unit.Name, "あいうえおかき");

  CategoryRecord category;
  SetCategoryName(category, "長い名前の分類&L");
  EXPECT_EQ(category.CategoryName, "長い名前の分");
}

TEST(CategoryTable, NumbersOutsideTheTableAreRefused) {
  CategoryTable t = CategoryTable::BuiltIn();
  EXPECT_THROW(t[0], std::out_of_range);
  EXPECT_THROW(t[37], std::out_of_range);
  EXPECT_THROW(t[1].unit(10), std::out_of_range);
  EXPECT_THROW(t[1].unit(0), std::out_of_range);
}

TEST(CategoryTable, TinyFactorsEmptyTheirUnit) {
  CategoryTable t = CategoryTable::BuiltIn();
  t[1].unit(2).Factor = Real48(0x1p-130L);
  EXPECT_TRUE(t[1].unit(2).isEmpty());
}

TEST(CategoryTable, UserBitmapNamesHaveTwoDigits) {
  EXPECT_EQ(UserBitmapFileName(5), "ZOVEZA05.BMP");
  EXPECT_EQ(UserBitmapFileName(25), "ZOVEZA25.BMP");
}

}  // namespace
}  // namespace hk
