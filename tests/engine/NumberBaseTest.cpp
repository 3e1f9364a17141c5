#include "engine/NumberBase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace hk {
namespace {

constexpr int kDec = kDecimalBase;
constexpr int kHex = kHexadecimalBase;
constexpr int kOct = kOctalBase;
constexpr int kBin = kBinaryBase;

std::string RightAligned(const std::string& text) {
  return std::string(15 - text.size(), ' ') + text;
}

std::string Repeat(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

struct Conversion {
  std::string input;
  int from;
  int to;
  std::string expected;
};

void ExpectConversions(const std::vector<Conversion>& table) {
  for (const Conversion& c : table) {
    SCOPED_TRACE("\"" + c.input + "\" from " + std::to_string(c.from) + " to " +
                 std::to_string(c.to));
    const NumberBaseResult result = ConvertNumberBase(c.input, c.from, c.to);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_TRUE(result.messageText.empty());
    EXPECT_TRUE(result.messageTitle.empty());
  }
}

TEST(NumberBaseTest, ConvertsFromDecimal) {
  ExpectConversions({{"255", kDec, kHex, "FF"},
                     {"255", kDec, kOct, "377"},
                     {"255", kDec, kBin, "1111 1111 "},
                     {"0", kDec, kHex, "0"},
                     {"0", kDec, kOct, "0"},
                     {"0", kDec, kBin, "0000 "},
                     {"1", kDec, kBin, "0001 "},
                     {"262144", kDec, kBin, "0100 0000 0000 0000 0000 "},
                     {"1073741824", kDec, kOct, "10000000000"},
                     {"2147483647", kDec, kHex, "7FFFFFFF"},
                     {"-1", kDec, kHex, "FFFFFFFF"},
                     {"-2147483648", kDec, kHex, "80000000"},
                     // Octal shows a negative value's magnitude, without a sign.
                     {"-13", kDec, kOct, "15"},
                     {"-2147483648", kDec, kOct, "20000000000"},
                     // Binary shows the two's complement, one group per nibble.
                     {"-1", kDec, kBin, Repeat("1111 ", 8)},
                     {"-262145", kDec, kBin, "1111 1111 1111 1011 1111 1111 1111 1111 "},
                     {"  42", kDec, kHex, "2A"},
                     {"$1F", kDec, kOct, "37"},
                     {"$FFFFFFFF", kDec, kOct, "1"}});
}

TEST(NumberBaseTest, ConvertsFromHexadecimal) {
  ExpectConversions({{"FF", kHex, kDec, RightAligned("255")},
                     {"FF", kHex, kOct, "377"},
                     {"FF", kHex, kBin, "1111 1111 "},
                     {"FFFFFFFF", kHex, kDec, RightAligned("-1")},
                     {"80000000", kHex, kDec, RightAligned("-2147483648")},
                     // Only the last eight digits fit in 32 bits.
                     {"123456789", kHex, kDec, RightAligned("591751049")},
                     {"", kHex, kDec, RightAligned("0")}});
}

TEST(NumberBaseTest, ConvertsFromOctal) {
  ExpectConversions({{"377", kOct, kDec, RightAligned("255")},
                     {"17", kOct, kHex, "F"},
                     {"20000000000", kOct, kDec, RightAligned("-2147483648")},
                     // The eleventh digit weighs 2^30 modulo 2^32; a twelfth nothing.
                     {"77777777777", kOct, kDec, RightAligned("-1")},
                     {"777777777777", kOct, kDec, RightAligned("-1")},
                     {"", kOct, kDec, RightAligned("0")}});
}

TEST(NumberBaseTest, ConvertsFromBinary) {
  ExpectConversions({{"101", kBin, kDec, RightAligned("5")},
                     {"1010", kBin, kHex, "A"},
                     {"11111111", kBin, kOct, "377"},
                     {std::string(32, '1'), kBin, kDec, RightAligned("-1")},
                     {"1" + std::string(32, '0'), kBin, kDec, RightAligned("0")},
                     {"", kBin, kDec, RightAligned("0")}});
}

struct Rejection {
  std::string input;
  int from;
  int to;
  std::string title;
  std::string message;
};

const std::string kInputError = "入力ｴﾗｰ";
const std::string kOverflow = "ｵｰﾊﾞｰﾌﾛｰ";
const std::string kBadDecimal = "10進数では認識出来ない文字がある(0ｰ9で整数のみ)";
const std::string kBadHex = "16進数では認識出来ない文字がある(0ｰFのみ)";
const std::string kBadOctal = "8進数では認識出来ない文字がある(0ｰ7で整数のみ)";
const std::string kBadBinary = "2進数では認識出来ない文字がある(0,1のみ)";
const std::string kOctalTooLarge = "8進数変換には桁が大きすぎる.8進変換は10進で9桁まで";
const std::string kBinaryTooLarge = "2進数変換には桁が大きすぎる.2進変換は10進で262,144まで";

void ExpectRejections(const std::vector<Rejection>& table) {
  for (const Rejection& r : table) {
    SCOPED_TRACE("\"" + r.input + "\" from " + std::to_string(r.from) + " to " +
                 std::to_string(r.to));
    const NumberBaseResult result = ConvertNumberBase(r.input, r.from, r.to);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messageTitle, r.title);
    EXPECT_EQ(result.messageText, r.message);
  }
}

TEST(NumberBaseTest, RejectsBadInput) {
  ExpectRejections({{"", kDec, kHex, kInputError, kBadDecimal},
                    {"12 ", kDec, kHex, kInputError, kBadDecimal},
                    {"2147483648", kDec, kHex, kInputError, kBadDecimal},
                    {"-$1F", kDec, kHex, kInputError, kBadDecimal},
                    {"ff", kHex, kDec, kInputError, kBadHex},
                    {" FF", kHex, kDec, kInputError, kBadHex},
                    {"-1", kHex, kDec, kInputError, kBadHex},
                    // Digits beyond the 32-bit width count for nothing but must still be digits.
                    {"G12345678", kHex, kDec, kInputError, kBadHex},
                    {"8", kOct, kDec, kInputError, kBadOctal},
                    {"2", kBin, kDec, kInputError, kBadBinary},
                    {"2" + std::string(32, '1'), kBin, kDec, kInputError, kBadBinary},
                    // A binary result typed back in, blanks and all.
                    {"1111 1111 ", kBin, kDec, kInputError, kBadBinary}});
}

TEST(NumberBaseTest, RejectsValuesTooLargeForTheLayout) {
  ExpectRejections({{"262145", kDec, kBin, kOverflow, kBinaryTooLarge},
                    {"40001", kHex, kBin, kOverflow, kBinaryTooLarge},
                    {"1073741825", kDec, kOct, kOverflow, kOctalTooLarge},
                    {"2147483647", kDec, kOct, kOverflow, kOctalTooLarge}});
}

TEST(NumberBaseTest, TitlesAreHalfWidthShiftJis) {
  EXPECT_EQ(ConvertNumberBase("x", kHex, kDec).messageTitle, "\x93\xFC\x97\xCD\xB4\xD7\xB0");
  EXPECT_EQ(ConvertNumberBase("262145", kDec, kBin).messageTitle,
            "\xB5\xB0\xCA\xDE\xB0\xCC\xDB\xB0");
}

struct HexCase {
  std::uint32_t value;
  std::string expected;
};

TEST(HexTextTest, UpperCaseWithoutLeadingZeros) {
  for (const HexCase& c : std::vector<HexCase>{{0, "0"},
                                               {0x10, "10"},
                                               {0xDEADBEEF, "DEADBEEF"},
                                               {0x80000000, "80000000"},
                                               {0xFFFFFFFF, "FFFFFFFF"}}) {
    EXPECT_EQ(HexText(c.value), c.expected);
  }
}

}  // namespace
}  // namespace hk
