#include "data/CategoryTable.h"

#include <stdexcept>

#include "data/NumberSyntax.h"
#include "data/ShiftJis.h"

namespace hk {

namespace {

// One unit as the built-in table lists it: the factor is the decimal text
// whose nearest Real48 is stored.
struct BuiltInUnit {
  const char* name;
  const char* factor;
  std::int32_t decimals;
  std::uint32_t colour;
};

struct BuiltInCategory {
  const char* name;
  const char* icon;
  std::array<BuiltInUnit, kUnitsPerCategory> units;
};

constexpr BuiltInUnit EmptyUnit(std::int32_t decimals) {
  return BuiltInUnit{"       ", "0", decimals, kBlue};
}

constexpr std::array<BuiltInUnit, kUnitsPerCategory> AllEmpty(std::int32_t decimals) {
  return {EmptyUnit(decimals), EmptyUnit(decimals), EmptyUnit(decimals),
          EmptyUnit(decimals), EmptyUnit(decimals), EmptyUnit(decimals),
          EmptyUnit(decimals), EmptyUnit(decimals), EmptyUnit(decimals)};
}

// Names are byte for byte what the buttons show: the blanks centre short
// names, and the first byte of "¥ﾍﾞｰｽ" is 0x5C.
const BuiltInCategory kBuiltIn[kCategoryCount] = {
    {"長さ1&L",
     "BM_LEN",
     {{
         {" ﾒｰﾄﾙ  ", "1", 5, kBlue},
         {"ｾﾝﾁﾒｰﾄﾙ", "100", 5, kBlue},
         {" ｲ ﾝ ﾁ ", "39.3701", 5, kBlue},
         {" ﾌｨｰ ﾄ ", "3.28084", 5, kBlue},
         {" ﾔ ｰ ﾄﾞ", "1.09361", 5, kBlue},
         {" ﾏ ｲ ﾙ ", "0.0006215", 5, kBlue},
         {" ﾁｪｰ ﾝ ", "0.04971", 5, kBlue},
         {"ﾌｧｰﾛﾝｸﾞ", "0.004971", 5, kBlue},
         EmptyUnit(5),
     }}},  // 1
    {"長さ2&V",
     "BM_LEN",
     {{
         {" ﾒｰﾄﾙ  ", "1", 5, kBlue},
         {"ｾﾝﾁﾒｰﾄﾙ", "100", 5, kBlue},
         {"厘(ﾘﾝ) ", "3300.33003", 5, kBlue},
         {"分(ﾌﾞ) ", "330.033003", 5, kBlue},
         {"寸(ｽﾝ) ", "33.0033003", 5, kBlue},
         {"尺(ｼｬｸ)", "3.30033003", 5, kBlue},
         {"丈ｼﾞｮｳ ", "0.330033", 5, kBlue},
         {"間(ｹﾝ) ", "0.550055", 5, kBlue},
         {"町(ﾁｮｳ)", "0.0091743", 5, kBlue},
     }}},  // 2
    {"面積&W",
     "BM_WIDE",
     {{
         {"  ㎡   ", "1", 5, kBlue},
         {" ｱ ｰ ﾙ ", "0.01", 5, kBlue},
         {" ﾍｸﾀｰﾙ ", "0.0001", 5, kBlue},
         {" ｴｰｶｰ  ", "0.00025", 5, kBlue},
         {"  坪   ", "0.3024995", 5, kBlue},
         {"  段   ", "0.00101", 5, kBlue},
         {"  町   ", "0.0001", 5, kBlue},
         EmptyUnit(0),
         EmptyUnit(0),
     }}},  // 3
    {"容量&Y",
     "BM_3D",
     {{
         {" ﾘｯﾄﾙ  ", "1", 5, kBlue},
         {"  cc   ", "1000", 5, kBlue},
         {"ｶﾞﾛﾝ 米", "0.26417", 5, kBlue},
         {"ｶﾞﾛﾝ 英", "0.21997", 5, kBlue},
         {"ﾊﾞﾚﾙ 米", "0.00629", 5, kBlue},
         {"  合   ", "5.54352", 5, kBlue},
         {"  升   ", "0.554352", 5, kBlue},
         {"  石   ", "0.00554352", 5, kBlue},
         EmptyUnit(0),
     }}},  // 4
    {"重さ&T",
     "BM_WEIGHT",
     {{
         {" ｸﾞﾗﾑ  ", "1", 5, kBlue},
         {"ｷﾛｸﾞﾗﾑ ", "0.001", 5, kBlue},
         {" ｵ ﾝ ｽ ", "0.03527", 5, kBlue},
         {" ﾎﾟﾝﾄﾞ ", "0.0022", 5, kBlue},
         {"匁(ﾓﾝﾒ)", "0.26667", 5, kBlue},
         {"斤 (ｷﾝ)", "0.001667", 5, kBlue},
         {"貫 (ｶﾝ)", "0.00026667", 5, kBlue},
         {"ｶﾗｯﾄ   ", "5", 5, kBlue},
         EmptyUnit(0),
     }}},  // 5
    {"速度&S",
     "BM_SPEED",
     {{
         {"km/hour", "1", 5, kBlue},
         {"km/min ", "0.01667", 5, kBlue},
         {" m/sec ", "0.27778", 5, kBlue},
         {" ﾉ ｯ ﾄ ", "0.54", 5, kBlue},
         {" ﾏｲﾙ/h ", "0.62", 5, kBlue},
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
     }}},  // 6
    {"角度&O",
     "BM_ANGLE",
     {{
         {"  度   ", "1", 5, kBlue},
         {"  分   ", "0.0166667", 5, kBlue},
         {"  秒   ", "0.0002778", 5, kBlue},
         {" ﾗｼﾞｱﾝ ", "0.0174532", 5, kBlue},
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
     }}},  // 7
    {"馬力&Q",
     "BM_POWER",
     {{
         {"馬力 英", "1", 3, kBlue},
         {"馬力 仏", "0.9863216", 3, kBlue},
         {"W(ﾜｯﾄ) ", "745.7", 3, kBlue},
         {"kgf･m/s", "7307.86", 3, kBlue},
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
     }}},  // 8
    {"温度&U",
     "BM_DEGREE",
     {{
         {"摂氏℃ ", "1", 2, kBlue},
         {"華氏Ｆ ", "1", 2, kBlue},
         {"絶対温度Ｋ", "1", 2, kBlue},
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
     }}},  // 9
    {"ﾊﾟｿｺﾝ&Z",
     "BM_COMPUTER",
     {{
         {"10進数 ", "1", 0, kBlue},
         {"16進数 ", "1", 0, kBlue},
         {" 8進数 ", "1", 0, kBlue},
         {" 2進数 ", "1", 0, kBlue},
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
         EmptyUnit(0),
     }}},  // 10
    {"運動&Y",
     "BM_EXER1",
     {{
         {"散歩2･3k/h", "38", 1, kBlue},
         {"早足4･5k/h", "29", 1, kBlue},
         {"ｼﾞｮｷﾞﾝｸﾞ7k/h", "16", 1, kBlue},
         {"ｼﾞｮｷﾞﾝｸ10k/h", "11", 1, kBlue},
         {"ﾗﾝﾆﾝｸﾞ12k/h", "8", 1, kBlue},
         {"ﾗﾝﾆﾝｸﾞ13k/h", "7", 1, kBlue},
         {"消費糖分g", "25", 1, kBlue},
         {"消費脂肪g", "11", 1, kBlue},
         {"使用ｶﾛﾘｰCal", "100", 1, kRed},
     }}},  // 11
    {"運動&M",
     "BM_EXER2",
     {{
         {"ﾃﾆｽ･s  ", "16", 1, kBlue},
         {"野球･s ", "32", 1, kBlue},
         {"水泳･s ", "12", 1, kBlue},
         {"登山登り", "12", 1, kBlue},
         {"登山下り", "19", 1, kBlue},
         {"ｻｲｸﾘﾝｸﾞ ", "32", 1, kBlue},
         {"ゴルフ ", "32", 1, kBlue},
         {"ｴｱﾛﾋﾞｸｽ", "24", 1, kBlue},
         {"使用ｶﾛﾘｰCal", "100", 1, kRed},
     }}},                             // 12
    {"&L", "BM_OTHER", AllEmpty(1)},  // 13
    {"&V", "BM_OTHER", AllEmpty(1)},  // 14
    {"&W", "BM_OTHER", AllEmpty(1)},  // 15
    {"&Y", "BM_OTHER", AllEmpty(1)},  // 16
    {"&T", "BM_OTHER", AllEmpty(1)},  // 17
    {"&S", "BM_OTHER", AllEmpty(1)},  // 18
    {"&O", "BM_OTHER", AllEmpty(1)},  // 19
    {"&Q", "BM_OTHER", AllEmpty(1)},  // 20
    {"&U", "BM_OTHER", AllEmpty(1)},  // 21
    {"&Z", "BM_OTHER", AllEmpty(1)},  // 22
    {"&Y", "BM_OTHER", AllEmpty(1)},  // 23
    {"&M", "BM_OTHER", AllEmpty(1)},  // 24
    {"¥ﾍﾞｰｽ1&L",
     "BM_MONEY",
     {{
         {"円     ", "100", 2, kRed},
         {"米ドル ", "0.94", 2, kBlue},
         {"加ドル ", "0.9", 2, kBlue},
         {"香港ﾄﾞﾙ ", "0.8", 2, kBlue},
         {"豪ドル ", "0.6", 2, kBlue},
         {"英ﾎﾞﾝﾄﾞ", "1.25", 2, kBlue},
         {"中国元 ", "10", 2, kBlue},
         {"露ﾙｰﾌﾞﾙ ", "5", 2, kBlue},
         {"仏ﾌﾗﾝ  ", "6", 2, kBlue},
     }}},  // 25
    {"¥ﾍﾞｰｽ2&V",
     "BM_MONEY",
     {{
         {"円     ", "100", 2, kRed},
         {"独ﾏﾙｸ  ", "10", 2, kBlue},
         {"仏ﾌﾗﾝ  ", "3", 2, kBlue},
         {"ｽｲｽﾌﾗﾝ ", "3", 2, kBlue},
         {"伊ﾘﾗ   ", "20", 2, kBlue},
         {"ﾍﾟｿ    ", "10", 2, kBlue},
         {"ﾍﾟｾﾀ   ", "10", 2, kBlue},
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 26
    {"¥ﾍﾞｰｽ3&W",
     "BM_MONEY",
     {{
         {"円     ", "100", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 27
    {"¥ﾍﾞｰｽ4&Y",
     "BM_MONEY",
     {{
         {"円     ", "100", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 28
    {"¥ﾍﾞｰｽ5&T",
     "BM_MONEY",
     {{
         {"円     ", "100", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 29
    {"¥ﾍﾞｰｽ6&S",
     "BM_MONEY",
     {{
         {"円     ", "100", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 30
    {"$ﾍﾞｰｽ1&O",
     "BM_MONEY2",
     {{
         {"米ドル ", "1", 2, kRed},
         {"円     ", "106.3", 2, kBlue},
         {"加ドル ", "1.5", 2, kBlue},
         {"香港ﾄﾞﾙ", "1", 2, kBlue},
         {"豪ドル ", "1", 2, kBlue},
         {"英ﾎﾞﾝﾄﾞ", "0.5", 2, kBlue},
         {"中国元 ", "300", 2, kBlue},
         {"露ﾙｰﾌﾞﾙ", "200", 2, kBlue},
         {"仏ﾌﾗﾝ  ", "1.2", 2, kBlue},
     }}},  // 31
    {"$ﾍﾞｰｽ2&Q",
     "BM_MONEY2",
     {{
         {"米ドル ", "1", 2, kRed},
         {"円     ", "106.3", 2, kBlue},
         {"独ﾏﾙｸ  ", "0.6", 2, kBlue},
         {"ｽｲｽﾌﾗﾝ ", "1.4", 2, kBlue},
         {"伊ﾘﾗ   ", "30", 2, kBlue},
         {"ﾍﾟｿ    ", "35", 2, kBlue},
         {"ﾍﾟｾﾀ   ", "50", 2, kBlue},
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 32
    {"$ﾍﾞｰｽ3&U",
     "BM_MONEY2",
     {{
         {"米ドル ", "1", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 33
    {"$ﾍﾞｰｽ4&Z",
     "BM_MONEY2",
     {{
         {"米ドル ", "1", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 34
    {"$ﾍﾞｰｽ5&Y",
     "BM_MONEY2",
     {{
         {"米ドル ", "1", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 35
    {"$ﾍﾞｰｽ6&M",
     "BM_MONEY2",
     {{
         {"米ドル ", "1", 2, kRed},
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
         EmptyUnit(2),
     }}},  // 36
};

}  // namespace

UnitRecord& CategoryRecord::unit(int u) {
  if (u < 1 || u > kUnitsPerCategory) throw std::out_of_range("unit number");
  return Units[static_cast<std::size_t>(u - 1)];
}

const UnitRecord& CategoryRecord::unit(int u) const {
  return const_cast<CategoryRecord*>(this)->unit(u);
}

CategoryTable CategoryTable::BuiltIn() {
  CategoryTable table;
  for (int c = 0; c < kCategoryCount; ++c) {
    const BuiltInCategory& source = kBuiltIn[c];
    CategoryRecord& target = table.categories_[static_cast<std::size_t>(c)];
    target.CategoryName = source.name;
    target.IconResource = source.icon;
    for (int u = 0; u < kUnitsPerCategory; ++u) {
      const BuiltInUnit& unit = source.units[static_cast<std::size_t>(u)];
      UnitRecord& record = target.Units[static_cast<std::size_t>(u)];
      record.Name = unit.name;
      record.Factor = Real48(*ParseReal(unit.factor));
      record.Decimals = unit.decimals;
      record.Colour = unit.colour;
    }
  }
  return table;
}

CategoryRecord& CategoryTable::operator[](int category) {
  if (category < 1 || category > kCategoryCount) throw std::out_of_range("category number");
  return categories_[static_cast<std::size_t>(category - 1)];
}

const CategoryRecord& CategoryTable::operator[](int category) const {
  return const_cast<CategoryTable&>(*this)[category];
}

void SetUnitName(UnitRecord& unit, std::string_view name) {
  unit.Name = PadUnitName(SjisCut(name, kMaxUnitNameBytes));
}

void SetCategoryName(CategoryRecord& category, std::string_view name) {
  category.CategoryName = std::string(SjisCut(name, kMaxCategoryNameBytes));
}

std::string UserBitmapFileName(int category) {
  // The two-character field of the category number, its blank made a zero.
  std::string number = std::to_string(category);
  if (number.size() < 2) number.insert(0, 2 - number.size(), '0');
  return "ZOVEZA" + number + ".BMP";
}

}  // namespace hk
