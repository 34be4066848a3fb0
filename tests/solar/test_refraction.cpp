// SPDX-License-Identifier: MIT
// Atmospheric refraction: values at standard heights, the horizon, the default selection
// and temperatures at which t + 273 is not positive.
#include <gtest/gtest.h>

#include <cmath>

#include "core/constants.hpp"
#include "solar/refraction.hpp"

namespace astro {
namespace {

constexpr double kArcmin = 0.00029088820865740743;  // 3.1415926535 / 10800
// The formula evaluated with mpmath is matched to rounding (1e-15 rad is 2e-10 arcsec).
constexpr double kTol = 1e-15;

struct Case {
  const char* label;
  double height_deg;
  double want;  // radians
};

// (0.28 P / (t + 273)) cot(h + 7.31 / (h + 4.4)) arcmin at 1013.25 mbar and 10 C, evaluated
// with mpmath at 40 digits with the program's conversion constants. Rounded these are the
// published 0.9973' at 45 deg, 5.405' at 10 deg, 24.39' at 1 deg, 34.56' just above the
// horizon and -3.94e-07 rad at the zenith (where h + 7.31 / (h + 4.4) passes 90 deg).
const Case kCases[] = {
    {"45 deg", 45, 0.00029011557357228201},
    {"10 deg", 10, 0.0015722600353582655},
    {"1 deg", 1, 0.0070948100419961523},
    {"zenith", 90, -3.9412803281665021e-07},
};

TEST(Refrakce, DefaultAtmosphere) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    EXPECT_NEAR(REFRAKCE(c.height_deg * kDegToRad, -1.0, -274.0), c.want, kTol);
  }
  EXPECT_NEAR(REFRAKCE(1e-9, -1.0, -274.0) / kArcmin, 34.56, 0.005);
}

TEST(Refrakce, NoneAtOrBelowTheHorizon) {
  for (double height : {0.0, -0.0, -1e-12, -0.3, -1.5707963}) {
    SCOPED_TRACE(height);
    EXPECT_EQ(REFRAKCE(height, -1.0, -274.0), 0.0);
    EXPECT_EQ(REFRAKCE(height, 900.0, -20.0), 0.0);
  }
}

TEST(Refrakce, DefaultsAndOutOfRangeTemperatures) {
  const double height = 0.2;
  const double standard = REFRAKCE(height, 1013.25, 10.0);
  // Any negative pressure selects 1013.25; any temperature at which t + 273 <= 0 selects 10
  // (below -273.15 by design, and from there up to -273 so as not to divide by zero or less).
  const struct {
    double pressure, temperature;
  } kDefaults[] = {{-1.0, -274.0}, {-0.001, 10.0}, {1013.25, -273.0},
                   {1013.25, -273.1}, {1013.25, -273.15}, {-5.0, -1e300}};
  for (const auto& d : kDefaults) {
    SCOPED_TRACE(testing::Message() << d.pressure << " mbar, " << d.temperature << " C");
    EXPECT_EQ(REFRAKCE(height, d.pressure, d.temperature), standard);
  }
  // The scale factor of the defaults is 0.28 x 1013.25 / 283 = 1.0025088 (by hand).
  EXPECT_NEAR(standard / REFRAKCE(height, 283 / 0.28, 10.0), 1.0025088339222616, 1e-14);
  // Temperatures just above -273 are used as they stand, and a pressure of 0 gives 0.
  EXPECT_NEAR(REFRAKCE(height, 1013.25, -272.0) / standard, 283.0, 1e-12);
  EXPECT_EQ(REFRAKCE(height, 0.0, 10.0), 0.0);
}

}  // namespace
}  // namespace astro
