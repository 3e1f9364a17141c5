#include "engine/Temperature.h"

#include <gtest/gtest.h>

#include "engine/FormatResult.h"

namespace hk {
namespace {

struct Case {
  int from;
  int to;
  long double t;
  const char* shown;  // with the 2 decimals of the temperature units
};

TEST(Temperature, EveryPairOfUnits) {
  const Case cases[] = {
      {kCelsius, kFahrenheit, 100, "         212.00"},
      {kFahrenheit, kCelsius, 212, "         100.00"},
      {kKelvin, kCelsius, 0, "        -273.15"},
      {kKelvin, kFahrenheit, 0, "        -459.67"},
      {kFahrenheit, kKelvin, 32, "         273.15"},
      {kCelsius, kKelvin, -273.15L, "           0.00"},
      {kCelsius, kCelsius, -500, "        -500.00"},
      {kKelvin, kKelvin, 12.345L, "          12.35"},
      {kFahrenheit, kCelsius, -40, "         -40.00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatResult(ConvertTemperature(c.from, c.to, Real48(c.t)), 2), c.shown)
        << c.from << "->" << c.to << " " << static_cast<double>(c.t);
  }
}

TEST(Temperature, SameUnitCopiesTheValue) {
  const Real48 t(37.77L);
  EXPECT_EQ(ConvertTemperature(kCelsius, kCelsius, t).bytes(), t.bytes());
}

TEST(Temperature, TwoStepPairsRoundTheIntermediateToReal48) {
  // Fahrenheit to Kelvin rounds the Celsius value to Real48 before adding
  // 273.15; Kelvin to Fahrenheit likewise rounds the Celsius value first.
  const Real48 t(100.1L);
  const long double celsius = ((t.value() - 32.0f) * 5.0f) * (1.0L / 9.0L);
  const Real48 twoStep(Real48(celsius).value() + 273.15L);
  EXPECT_EQ(ConvertTemperature(kFahrenheit, kKelvin, t).bytes(), twoStep.bytes());

  const Real48 k(300.7L);
  const Real48 c(k.value() - 273.15L);
  const Real48 f(((c.value() * 9.0f) * 0.2L) + 32.0f);
  EXPECT_EQ(ConvertTemperature(kKelvin, kFahrenheit, k).bytes(), f.bytes());
}

}  // namespace
}  // namespace hk
