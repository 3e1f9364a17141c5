#include "engine/NumberBase.h"

#include <optional>
#include <utility>

#include "data/NumberSyntax.h"
#include "engine/FormatResult.h"

namespace hk {

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";
constexpr std::string_view kOctalDigits = kDigits.substr(0, 8);
constexpr std::string_view kNibbles[16] = {"0000", "0001", "0010", "0011", "0100", "0101",
                                           "0110", "0111", "1000", "1001", "1010", "1011",
                                           "1100", "1101", "1110", "1111"};

// The largest values the octal and binary layouts accept. Negative values are
// not held to them: binary shows their two's complement, octal their magnitude.
constexpr std::int32_t kOctalLimit = 1073741824;
constexpr std::int32_t kBinaryLimit = 262144;

constexpr const char* kInputErrorTitle = "入力ｴﾗｰ";
constexpr const char* kOverflowTitle = "ｵｰﾊﾞｰﾌﾛｰ";

NumberBaseResult Failure(const char* text, const char* title) {
  NumberBaseResult result;
  result.messageText = text;
  result.messageTitle = title;
  return result;
}

NumberBaseResult Success(std::string text) {
  NumberBaseResult result;
  result.ok = true;
  result.text = std::move(text);
  return result;
}

const char* InputErrorText(int base) {
  switch (base) {
    case kDecimalBase:
      return "10進数では認識出来ない文字がある(0ｰ9で整数のみ)";
    case kHexadecimalBase:
      return "16進数では認識出来ない文字がある(0ｰFのみ)";
    case kOctalBase:
      return "8進数では認識出来ない文字がある(0ｰ7で整数のみ)";
    default:
      return "2進数では認識出来ない文字がある(0,1のみ)";
  }
}

// Reads the text digit by digit from the right. The weights wrap modulo 2^32,
// so digits beyond the 32-bit width add nothing, yet they must still be
// digits of the base.
std::optional<std::uint32_t> ParseDigits(std::string_view text, std::string_view digits,
                                         std::uint32_t radix) {
  std::uint32_t value = 0;
  std::uint32_t weight = 1;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    const std::size_t digit = digits.find(*it);
    if (digit == std::string_view::npos) return std::nullopt;
    value += static_cast<std::uint32_t>(digit) * weight;
    weight *= radix;
  }
  return value;
}

std::optional<std::uint32_t> ParseInBase(std::string_view text, int base) {
  switch (base) {
    case kDecimalBase: {
      const std::optional<std::int32_t> value = ParseWholeNumber(text);
      if (!value) return std::nullopt;
      return static_cast<std::uint32_t>(*value);
    }
    case kHexadecimalBase:
      return ParseDigits(text, kDigits, 16);
    case kOctalBase:
      return ParseDigits(text, kOctalDigits, 8);
    default:
      return ParseDigits(text, kDigits.substr(0, 2), 2);
  }
}

std::string DecimalText(std::int32_t value) {
  std::string text = std::to_string(value);
  if (text.size() < static_cast<std::size_t>(kResultWidth)) {
    text.insert(0, kResultWidth - text.size(), ' ');
  }
  return text;
}

std::string OctalText(std::int32_t value) {
  // The magnitude in unsigned arithmetic, so that -2147483648 has one too.
  std::uint32_t rest =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  std::string text;
  std::uint32_t weight = 1073741824;  // 8^10, the top of eleven digits
  for (;;) {
    const std::uint32_t digit = rest / weight;
    rest %= weight;
    if (digit != 0 || !text.empty()) text += kDigits[digit];
    if (weight == 1) break;
    weight /= 8;
  }
  return text.empty() ? "0" : text;
}

std::string BinaryText(std::uint32_t value) {
  std::string text;
  for (const char c : HexText(value)) {
    text += kNibbles[kDigits.find(c)];
    text += ' ';
  }
  return text;
}

}  // namespace

std::string HexText(std::uint32_t value) {
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xFu]);
    value >>= 4;
  } while (value != 0);
  return text;
}

NumberBaseResult ConvertNumberBase(std::string_view text, int from, int to) {
  const std::optional<std::uint32_t> bits = ParseInBase(text, from);
  if (!bits) return Failure(InputErrorText(from), kInputErrorTitle);
  const auto value = static_cast<std::int32_t>(*bits);

  switch (to) {
    case kDecimalBase:
      return Success(DecimalText(value));
    case kHexadecimalBase:
      return Success(HexText(*bits));
    case kOctalBase:
      if (value > kOctalLimit) {
        return Failure("8進数変換には桁が大きすぎる.8進変換は10進で9桁まで", kOverflowTitle);
      }
      return Success(OctalText(value));
    default:
      if (value > kBinaryLimit) {
        return Failure("2進数変換には桁が大きすぎる.2進変換は10進で262,144まで", kOverflowTitle);
      }
      return Success(BinaryText(*bits));
  }
}

}  // namespace hk
