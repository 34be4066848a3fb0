// SPDX-License-Identifier: MIT
#include "solar/refraction.hpp"

#include <cmath>

#include "core/constants.hpp"

namespace astro {

namespace {

// Arcminutes to radians: 3.1415926535 / 10800 as a double.
constexpr double kArcminToRad = 0.00029088820865740743;

constexpr double kDefaultPressure = 1013.25;  // millibars
constexpr double kDefaultTemperature = 10.0;  // degrees Celsius

}  // namespace

double REFRAKCE(double height, double pressure, double temperature) {
  if (height <= 0) return 0.0;
  const double h = height * kRadToDeg;
  const double P = pressure < 0 ? kDefaultPressure : pressure;
  // Covers every t below -273.15 as well as the few just above it at which t + 273 <= 0.
  const double t = temperature + 273 <= 0 ? kDefaultTemperature : temperature;
  return (0.28 * P / (t + 273)) / std::tan((h + 7.31 / (h + 4.4)) * kDegToRad) * kArcminToRad;
}

}  // namespace astro
