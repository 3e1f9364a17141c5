#pragma once

#include "data/Real48.h"

namespace hk {

// Celsius, Fahrenheit and Kelvin are the units 1, 2 and 3 of the temperature
// category; the rules follow the unit numbers, never the factors.
constexpr int kCelsius = 1;
constexpr int kFahrenheit = 2;
constexpr int kKelvin = 3;

// The result of converting t from unit `from` to unit `to`, rounded to Real48.
Real48 ConvertTemperature(int from, int to, Real48 t);

}  // namespace hk
