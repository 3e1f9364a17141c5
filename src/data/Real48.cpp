#include "data/Real48.h"

#include <cmath>

#include "data/FloatFault.h"

namespace hk {

Real48::Real48(long double value) {
  if (std::isnan(value)) throw FloatFault(FloatFault::Kind::InvalidOperation);
  const bool negative = std::signbit(value);
  long double magnitude = std::fabs(value);
  if (magnitude < kSmallest) return;  // zero, all bytes 0
  if (std::isinf(magnitude)) throw FloatFault(FloatFault::Kind::Overflow);

  int exponent = 0;
  const long double mantissa = std::frexp(magnitude, &exponent);  // [0.5, 1)
  // 2^40 * mantissa is exact in the 64-bit significand; adding one half and
  // flooring rounds a dropped half away from zero.
  std::uint64_t significand =
      static_cast<std::uint64_t>(std::floor(std::ldexp(mantissa, 40) + 0.5L));
  if (significand == (std::uint64_t{1} << 40)) {
    significand >>= 1;
    ++exponent;
  }
  const int biased = exponent + 128;
  if (biased > 255) throw FloatFault(FloatFault::Kind::Overflow);

  const std::uint64_t fraction = significand - (std::uint64_t{1} << 39);
  bytes_[0] = static_cast<std::uint8_t>(biased);
  for (int i = 0; i < 5; ++i) bytes_[1 + i] = static_cast<std::uint8_t>(fraction >> (8 * i));
  if (negative) bytes_[5] |= 0x80;
}

Real48 Real48::FromBytes(const Bytes& bytes) {
  Real48 r;
  r.bytes_ = bytes;
  return r;
}

long double Real48::value() const {
  if (bytes_[0] == 0) return 0.0L;
  std::uint64_t fraction = 0;
  for (int i = 4; i >= 0; --i) fraction = (fraction << 8) | bytes_[1 + i];
  fraction &= (std::uint64_t{1} << 39) - 1;
  const long double magnitude = std::ldexp(
      static_cast<long double>((std::uint64_t{1} << 39) | fraction), bytes_[0] - 129 - 39);
  return (bytes_[5] & 0x80) ? -magnitude : magnitude;
}

}  // namespace hk
