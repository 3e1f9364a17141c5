#include "data/ShiftJis.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(ShiftJis, LiteralsAreCompiledToCodePage932) {
  EXPECT_EQ(std::string("長"), "\x92\xB7");
  EXPECT_EQ(std::string("ﾒ"), "\xD2");
  EXPECT_EQ(std::string("¥"), "\x5C");
  EXPECT_EQ(std::string("㎡"), "\x87\x75");
  EXPECT_EQ(std::string("＋"), "\x81\x7B");
}

struct CutCase {
  std::string text;
  std::size_t limit;
  std::string expected;
};

TEST(ShiftJis, CutsOnlyAtCharacterBoundaries) {
  const CutCase cases[] = {
      {"長さ1&L", 3, "長"},  // not half of さ
      {"長さ1&L", 4, "長さ"},
      {"長さ1&L", 12, "長さ1&L"},
      {"ﾒｰﾄﾙ", 2, "ﾒｰ"},  // half-width katakana are one byte
      {"abc", 0, ""},
      {"ab長", 3, "ab"},
      {"ソ表", 2, "ソ"},  // trail byte 0x5C is not a character of its own
      {std::string("a\x81"), 2, std::string("a\x81")},  // a lone lead byte at the end counts 1
  };
  for (const CutCase& c : cases) {
    EXPECT_EQ(SjisCut(c.text, c.limit), c.expected) << c.text << " " << c.limit;
  }
}

TEST(ShiftJis, PadsUnitNamesTo8Bytes) {
  EXPECT_EQ(PadUnitName(" ﾒｰﾄﾙ  "), " ﾒｰﾄﾙ   ");
  EXPECT_EQ(PadUnitName("ｍ"), "ｍ      ");
  EXPECT_EQ(PadUnitName(""), "        ");
  EXPECT_EQ(PadUnitName("絶対温度Ｋ"), "絶対温度Ｋ");
}

TEST(ShiftJis, RemovesABytePreservingDoubleByteCharacters) {
  EXPECT_EQ(RemoveByte("1,234,567", ','), "1234567");
  EXPECT_EQ(RemoveByte("  0101 1111 ", ' '), "01011111");
  EXPECT_EQ(RemoveByte(",,,", ','), "");
  EXPECT_EQ(RemoveByte("表 ソ", ' '), "表ソ");
}

}  // namespace
}  // namespace hk
