#include "engine/PowersList.h"

#include <utility>

namespace hk {

namespace {

constexpr std::string_view kNumberMask = "ZZ9";
constexpr std::string_view kValueMask = "ZZ,ZZZ,ZZZ,ZZ9";
constexpr std::string_view kHeader = " n乗      ---値---";

struct ListBase {
  std::uint32_t base;
  int powers;  // as many as fit in a positive 32-bit value
};

ListBase ListBaseOf(std::int32_t base) {
  if (base == 2) return {2, 30};
  if (base == 8) return {8, 10};
  return {16, 7};
}

}  // namespace

std::string FormatMask(std::int32_t value, std::string_view mask) {
  // Unsigned, so that -2147483648 has a magnitude too.
  const std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  const std::string digits = std::to_string(magnitude);

  std::string text(mask.size(), ' ');
  std::size_t left = digits.size();  // digits not yet placed, taken from the right
  bool signPlaced = false;
  std::size_t signPosition = 0;
  bool hasSignPosition = false;

  for (std::size_t i = mask.size(); i-- > 0;) {
    const char m = mask[i];
    switch (m) {
      case '9':
        text[i] = left > 0 ? digits[--left] : '0';
        break;
      case 'Z':
      case 'z':
      case '-':
        text[i] = left > 0 ? digits[--left] : ' ';
        break;
      case ',':
        text[i] = left > 0 ? ',' : ' ';
        break;
      default:  // "/" and anything unknown stand for themselves
        text[i] = m;
        break;
    }
    if (left == 0 && !signPlaced) {
      signPlaced = true;
      // When the digits reach the first column there is no room for a sign.
      hasSignPosition = i > 0;
      if (hasSignPosition) signPosition = i - 1;
    }
  }

  if (value < 0 && !mask.empty() && mask.front() == '-' && hasSignPosition) {
    text[signPosition] = '-';
  }
  if (value == 0 && !mask.empty() && mask.back() == 'z') text.back() = ' ';
  return text;
}

std::vector<std::string> PowersListRows(std::int32_t base) {
  const ListBase list = ListBaseOf(base);
  std::vector<std::string> rows;
  rows.reserve(static_cast<std::size_t>(list.powers) + 1);
  rows.emplace_back(kHeader);
  std::uint32_t power = 1;
  for (int k = 1; k <= list.powers; ++k) {
    power *= list.base;
    std::string row = FormatMask(k, kNumberMask);
    row += "  ";
    row += FormatMask(static_cast<std::int32_t>(power), kValueMask);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::int32_t PowerOf(std::int32_t base, int k) {
  // Only the listed rows are ever asked for; beyond them the product wraps
  // instead of overflowing (every base is a power of two, so it ends at 0).
  const std::uint32_t factor = ListBaseOf(base).base;
  std::uint32_t power = 1;
  for (int i = 0; i < k && power != 0; ++i) power *= factor;
  return static_cast<std::int32_t>(power);
}

}  // namespace hk
