#include "data/NumberSyntax.h"

#include <cfloat>
#include <cstddef>

namespace hk {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// 10^n for 0 <= n <= 27 is exact in the 64-bit significand, so one
// multiplication or division by it rounds correctly.
constexpr int kExactPowers = 27;

long double PowerOfTen(int n) {
  long double p = 1.0L;
  for (int i = 0; i < n; ++i) p *= 10.0L;
  return p;
}

long double Scale(long double value, long exponent) {
  static const long double kStep = PowerOfTen(kExactPowers);
  while (exponent > kExactPowers && value != 0 && value <= LDBL_MAX) {
    value *= kStep;
    exponent -= kExactPowers;
  }
  while (exponent < -kExactPowers && value != 0) {
    value /= kStep;
    exponent += kExactPowers;
  }
  return exponent >= 0 ? value * PowerOfTen(static_cast<int>(exponent))
                       : value / PowerOfTen(static_cast<int>(-exponent));
}

}  // namespace

std::optional<long double> ParseReal(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  if (i == n) return std::nullopt;

  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    if (++i == n) return std::nullopt;
  }

  // The first 19 significant digits are kept exactly; later ones only move
  // the point. That is far below what a Real48 can tell apart.
  std::uint64_t mantissa = 0;
  int significant = 0;
  long exponent = 0;
  for (; i < n && IsDigit(text[i]); ++i) {
    if (significant < 19) {
      mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
      if (mantissa != 0) ++significant;
    } else {
      ++exponent;
    }
  }
  if (i < n && text[i] == '.') {
    if (++i == n) return std::nullopt;
    for (; i < n && IsDigit(text[i]); ++i) {
      if (significant < 19) {
        mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
        if (mantissa != 0) ++significant;
        --exponent;
      }
    }
  }
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i == n || !IsDigit(text[i])) return std::nullopt;
    long written = 0;
    for (; i < n && IsDigit(text[i]); ++i) {
      if (written < 100000) written = written * 10 + (text[i] - '0');
    }
    exponent += negativeExponent ? -written : written;
  }
  if (i != n) return std::nullopt;

  const long double magnitude =
      mantissa == 0 ? 0.0L : Scale(static_cast<long double>(mantissa), exponent);
  return negative ? -magnitude : magnitude;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text, SignedHex signedHex) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  if (i == n) return std::nullopt;

  bool negative = false;
  bool hasSign = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    hasSign = true;
    ++i;
  }

  std::uint64_t value = 0;
  if (i < n && text[i] == '$') {
    if (hasSign && signedHex == SignedHex::Refused) return std::nullopt;
    ++i;
    if (i == n) return std::nullopt;
    for (; i < n; ++i) {
      const int digit = HexValue(text[i]);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    const std::uint32_t pattern = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }

  if (i == n) return std::nullopt;
  const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
  for (; i < n; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > limit) return std::nullopt;
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

}  // namespace hk
