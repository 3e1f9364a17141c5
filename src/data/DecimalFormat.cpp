#include "data/DecimalFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "data/FloatFault.h"
#include "data/NumberSyntax.h"

namespace hk {

namespace {

// An unsigned integer in base 10^9, least significant limb first, big enough
// for the exact expansion of any finite extended value (M * 5^16445 has under
// 11,600 digits).
class DecimalBig {
 public:
  explicit DecimalBig(std::uint64_t value) {
    do {
      limbs_[size_++] = static_cast<std::uint32_t>(value % kBase);
      value /= kBase;
    } while (value != 0);
  }

  // A limb times any 32-bit factor plus the carry fits 64 bits.
  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < size_; ++i) {
      const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
      limbs_[i] = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_[size_++] = static_cast<std::uint32_t>(carry % kBase);
      carry /= kBase;
    }
  }

  void multiplyByPowerOfTwo(int n) {
    for (; n >= 29; n -= 29) multiply(std::uint32_t{1} << 29);
    if (n > 0) multiply(std::uint32_t{1} << n);
  }

  void multiplyByPowerOfFive(int n) {
    constexpr std::uint32_t kFiveToThe13 = 1220703125;
    for (; n >= 13; n -= 13) multiply(kFiveToThe13);
    std::uint32_t rest = 1;
    for (; n > 0; --n) rest *= 5;
    if (rest != 1) multiply(rest);
  }

  // Writes the leading digits (at least 19 when there are that many) into out
  // and tells the number of digits in all and whether any digit past those
  // written is non-zero.
  int leadingDigits(char* out, int* written, bool* nonZeroRest) const {
    int top = size_ - 1;
    char first[10];
    int firstLength = 0;
    for (std::uint32_t v = limbs_[top]; v != 0; v /= 10) first[firstLength++] = '0' + v % 10;
    int n = 0;
    while (firstLength > 0) out[n++] = first[--firstLength];
    const int total = n + 9 * top;
    int i = top - 1;
    for (; i >= 0 && n < 19; --i) {
      std::uint32_t v = limbs_[i];
      for (int k = 8; k >= 0; --k) {
        out[n + k] = static_cast<char>('0' + v % 10);
        v /= 10;
      }
      n += 9;
    }
    bool rest = false;
    for (; i >= 0 && !rest; --i) rest = limbs_[i] != 0;
    *written = n;
    *nonZeroRest = rest;
    return total;
  }

 private:
  static constexpr std::uint32_t kBase = 1000000000;
  std::uint32_t limbs_[1400];
  int size_ = 0;
};

// Adds one unit at index last of a digit string; true when it carries out of
// the first digit (the string is then all zeros).
bool IncrementDigits(char* digits, int last) {
  for (int i = last; i >= 0; --i) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

std::string PadLeft(std::string text, int width) {
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

}  // namespace

DecimalDigits ToDecimalDigits(long double value) {
  DecimalDigits result;
  result.negative = std::signbit(value);
  const long double magnitude = std::fabs(value);
  if (magnitude == 0 || !std::isfinite(magnitude)) return result;

  int exponent = 0;
  const long double fraction = std::frexp(magnitude, &exponent);
  std::uint64_t mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  exponent -= 64;
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++exponent;
  }

  // magnitude = mantissa * 2^exponent = N * 10^shift
  DecimalBig n(mantissa);
  int shift = 0;
  if (exponent >= 0) {
    n.multiplyByPowerOfTwo(exponent);
  } else {
    n.multiplyByPowerOfFive(-exponent);
    shift = exponent;
  }

  char buffer[32];
  int written = 0;
  bool nonZeroRest = false;
  const int total = n.leadingDigits(buffer, &written, &nonZeroRest);
  int pointPosition = total + shift;

  int count = written;
  if (count > 18) {
    const char dropped = buffer[18];
    bool tail = nonZeroRest;
    for (int i = 19; i < written; ++i) tail = tail || buffer[i] != '0';
    const bool up = dropped > '5' || (dropped == '5' && (tail || (buffer[17] - '0') % 2 == 1));
    count = 18;
    if (up && IncrementDigits(buffer, 17)) {
      buffer[0] = '1';
      count = 1;
      ++pointPosition;
    }
  }
  while (count > 0 && buffer[count - 1] == '0') --count;
  std::memcpy(result.digits, buffer, static_cast<std::size_t>(count));
  result.count = count;
  result.pointPosition = pointPosition;
  return result;
}

std::string FormatFixed(long double value, int decimals, int width) {
  return FormatFixed(ToDecimalDigits(value), decimals, width);
}

std::string FormatFixed(const DecimalDigits& d, int decimals, int width) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxFixedDecimals) decimals = kMaxFixedDecimals;

  const int integerDigits = d.pointPosition > 1 ? d.pointPosition : 1;
  const int positions = integerDigits + decimals;
  // Position j stands for 10^(integerDigits - 1 - j); a leading spare digit
  // takes a carry out of the first one.
  std::string digits(static_cast<std::size_t>(positions) + 1, '0');
  for (int j = 0; j < positions; ++j) {
    const int i = j + d.pointPosition - integerDigits;
    digits[1 + j] = (i >= 0 && i < d.count) ? d.digits[i] : '0';
  }
  const int dropped = d.pointPosition + decimals;  // index of the 10^-(decimals+1) digit
  if (dropped >= 0 && dropped < d.count && d.digits[dropped] >= '5') {
    IncrementDigits(&digits[0], positions);
  }

  int first = 0;
  while (first < integerDigits && digits[first] == '0') ++first;  // keep one integer digit
  bool anyNonZero = false;
  for (int j = 0; j <= positions; ++j) anyNonZero = anyNonZero || digits[j] != '0';

  std::string text;
  text.reserve(static_cast<std::size_t>(positions) + 3);
  if (d.negative && anyNonZero) text.push_back('-');
  text.append(digits, first, static_cast<std::size_t>(1 + integerDigits - first));
  if (decimals > 0) {
    text.push_back('.');
    text.append(digits, static_cast<std::size_t>(1 + integerDigits),
                static_cast<std::size_t>(decimals));
  }
  return PadLeft(std::move(text), width);
}

std::string FormatExponent(long double value, int width) {
  const DecimalDigits d = ToDecimalDigits(value);
  char digits[7];
  for (int i = 0; i < 7; ++i) digits[i] = i < d.count ? d.digits[i] : '0';
  int exponent = d.count == 0 ? 0 : d.pointPosition - 1;
  if (d.count > 7 && d.digits[7] >= '5' && IncrementDigits(digits, 6)) {
    digits[0] = '1';
    ++exponent;
  }

  std::string text;
  text.push_back(d.negative && d.count > 0 ? '-' : ' ');
  text.push_back(digits[0]);
  text.push_back('.');
  text.append(digits + 1, digits + 7);
  text.push_back('E');
  text.push_back(exponent < 0 ? '-' : '+');
  const int magnitude = exponent < 0 ? -exponent : exponent;
  for (int divisor = 1000; divisor > 0; divisor /= 10) {
    text.push_back(static_cast<char>('0' + magnitude / divisor % 10));
  }
  return PadLeft(std::move(text), width);
}

namespace {

// Plain digits only while the text stays short: up to 21 integer digits, or
// five zeros after the point.
constexpr int kPlainPointHigh = 21;
constexpr int kPlainPointLow = -5;

// The digits rounded half up to at most `count` significant ones, without
// trailing zeros.
DecimalDigits RoundedTo(const DecimalDigits& d, int count) {
  if (d.count <= count) return d;
  DecimalDigits r = d;
  r.count = count;
  if (d.digits[count] >= '5' && IncrementDigits(r.digits, count - 1)) {
    r.digits[0] = '1';
    r.count = 1;
    ++r.pointPosition;
  }
  while (r.count > 0 && r.digits[r.count - 1] == '0') --r.count;
  return r;
}

// The digits cut to `count` significant ones, without trailing zeros.
DecimalDigits CutTo(const DecimalDigits& d, int count) {
  DecimalDigits r = d;
  r.count = std::min(d.count, count);
  while (r.count > 0 && r.digits[r.count - 1] == '0') --r.count;
  return r;
}

// The digits cut to `count` significant ones and raised by one in the last.
DecimalDigits RaisedTo(const DecimalDigits& d, int count) {
  if (d.count <= count) return d;
  DecimalDigits r = d;
  r.count = count;
  if (IncrementDigits(r.digits, count - 1)) {
    r.digits[0] = '1';
    r.count = 1;
    ++r.pointPosition;
  }
  while (r.count > 0 && r.digits[r.count - 1] == '0') --r.count;
  return r;
}

bool ReadsBackAs(const std::string& text, const Real48& value) {
  const std::optional<long double> parsed = ParseReal(text);
  if (!parsed) return false;
  try {
    return Real48(*parsed).bytes() == value.bytes();
  } catch (const FloatFault&) {
    return false;
  }
}

}  // namespace

std::string RealText(const DecimalDigits& d) {
  if (d.count == 0) return "0";
  const std::string digits(d.digits, static_cast<std::size_t>(d.count));
  std::string text = d.negative ? "-" : "";
  const int point = d.pointPosition;
  if (point > kPlainPointHigh || point < kPlainPointLow) {
    text += digits.substr(0, 1);
    if (d.count > 1) text += "." + digits.substr(1);
    text += "E" + std::to_string(point - 1);
  } else if (point <= 0) {
    text += "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
  } else if (point < d.count) {
    text += digits.substr(0, static_cast<std::size_t>(point)) + "." +
            digits.substr(static_cast<std::size_t>(point));
  } else {
    text += digits + std::string(static_cast<std::size_t>(point - d.count), '0');
  }
  return text;
}

DecimalDigits ShortestDigits(const Real48& value) {
  const DecimalDigits full = ToDecimalDigits(value.value());
  for (int count = 1; count < full.count; ++count) {
    // The nearest text of each length first, then its neighbour on the other
    // side: at a power of two the values that read back reach twice as far
    // above as below, so the nearest may miss where the other one reads back.
    const DecimalDigits nearest = RoundedTo(full, count);
    if (ReadsBackAs(RealText(nearest), value)) return nearest;
    const DecimalDigits other =
        full.digits[count] >= '5' ? CutTo(full, count) : RaisedTo(full, count);
    if (ReadsBackAs(RealText(other), value)) return other;
  }
  // Eighteen digits are far more than a Real48 tells apart.
  return full;
}

std::string ShortestRealText(const Real48& value) { return RealText(ShortestDigits(value)); }

}  // namespace hk
