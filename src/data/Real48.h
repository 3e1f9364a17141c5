#pragma once

#include <array>
#include <cfloat>
#include <cstdint>

namespace hk {

static_assert(LDBL_MANT_DIG == 64, "long double must be the 80-bit extended type");

// The 6-byte real in which factors, input values, results and history totals
// are held: byte 0 the biased exponent e (0 means zero), bytes 1..5 a 39-bit
// fraction with the sign in bit 7 of byte 5;
// value = (-1)^sign * (1 + f / 2^39) * 2^(e - 129).
class Real48 {
 public:
  using Bytes = std::array<std::uint8_t, 6>;

  Real48() = default;  // zero
  // Rounds to 40 significant bits, a dropped half away from zero; magnitudes
  // below 2^-128 become 0; a magnitude too large throws FloatFault(Overflow);
  // a NaN throws FloatFault(InvalidOperation).
  Real48(long double value);  // NOLINT(google-explicit-constructor): a store

  static Real48 FromBytes(const Bytes& bytes);

  long double value() const;
  operator long double() const { return value(); }  // NOLINT: a load
  const Bytes& bytes() const { return bytes_; }
  bool isZero() const { return bytes_[0] == 0; }

  static constexpr long double kSmallest = 0x1p-128L;

 private:
  Bytes bytes_{};
};

}  // namespace hk
