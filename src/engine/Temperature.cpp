#include "engine/Temperature.h"

namespace hk {

namespace {

// Each constant at the precision the conversions have always used: the whole
// numbers as single floats (exact), the fractions as the nearest extended.
constexpr float kNine = 9.0f;
constexpr long double kOneFifth = 0.2L;
constexpr float kThirtyTwo = 32.0f;
constexpr float kFive = 5.0f;
const long double kOneNinth = 1.0L / 9.0L;
constexpr long double kKelvinOffset = 273.15L;

long double CelsiusToFahrenheit(long double c) { return ((c * kNine) * kOneFifth) + kThirtyTwo; }
long double FahrenheitToCelsius(long double f) { return ((f - kThirtyTwo) * kFive) * kOneNinth; }

}  // namespace

Real48 ConvertTemperature(int from, int to, Real48 t) {
  const long double value = t;
  if (from == to) return t;
  if (from == kCelsius && to == kFahrenheit) return CelsiusToFahrenheit(value);
  if (from == kFahrenheit && to == kCelsius) return FahrenheitToCelsius(value);
  if (from == kCelsius && to == kKelvin) return value + kKelvinOffset;
  if (from == kFahrenheit && to == kKelvin) {
    const Real48 c = FahrenheitToCelsius(value);
    return c + kKelvinOffset;
  }
  if (from == kKelvin && to == kCelsius) return value - kKelvinOffset;
  if (from == kKelvin && to == kFahrenheit) {
    const Real48 c = value - kKelvinOffset;
    return CelsiusToFahrenheit(c);
  }
  return t;  // no other units exist in the category
}

}  // namespace hk
