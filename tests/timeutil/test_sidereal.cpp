// SPDX-License-Identifier: MIT
// Mean sidereal time and its inverse.
#include <gtest/gtest.h>

#include <cmath>

#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr double kHourTol = 5e-10;  // hours; the reference values carry 9 decimals

// Hand computations with the single-precision coefficients, to 9 decimals.
TEST(LST, ReferenceInstants) {
  struct Case {
    const char* label;
    double jd, londeg, gmst0, gmst, lst;
  };
  const Case cases[] = {
      {"J2000.0, noon", 2451545.0, 0, 6.664519433, 18.697373990, 18.697373990},
      {"J2000.0 day at 0h", 2451544.5, 0, 6.664519433, 6.664519433, 6.664519433},
      {"15 degrees east add one hour", 2460000.5, 15, 10.306780508, 10.306780508, 11.306780508},
      {"180 degrees west: negative, not reduced", 2460000.5, -180, 10.306780508, 10.306780508,
       10.306780508 - 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    double gmst0 = 0, gmst = 0, lst = 0;
    LST(c.jd, c.londeg, gmst0, gmst, lst);
    EXPECT_NEAR(gmst0, c.gmst0, kHourTol);
    EXPECT_NEAR(gmst, c.gmst, kHourTol);
    EXPECT_NEAR(lst, c.lst, kHourTol);
  }
}

TEST(LST, NoonIsTwelveSiderealRateHoursAfterZeroHours) {
  double gmst0 = 0, gmst = 0, lst = 0;
  LST(2451545.0, 0, gmst0, gmst, lst);
  EXPECT_EQ(gmst, 12 * 1.0027378797531128 + gmst0);
}

// UT1 takes LST's local sidereal time back to the time of day. The two use different
// roundings of the same polynomial (single against double coefficients), which differ by
// well under a second of time this century.
TEST(UT1, InvertsLocalSiderealTime) {
  constexpr double kSecondInHours = 1.0 / 3600;
  for (double jd : {2451545.25, 2451600.9, 2460000.5, 2461201.0, 2469000.75, 2488070.1}) {
    for (double londeg : {0.0, 14.4, -120.0}) {
      SCOPED_TRACE(testing::Message() << "jd " << jd << " lon " << londeg);
      double gmst0 = 0, gmst = 0, lst = 0;
      LST(jd, londeg, gmst0, gmst, lst);
      const double ut = (jd - (std::trunc(jd + 0.5) - 0.5)) * 24;
      const double t = (jd - 2451545.0) / 36525;
      EXPECT_NEAR(UT1(lst, t, 0, 0.409, londeg * 0.017453292519444445), ut, kSecondInHours);
    }
  }
}

TEST(UT1, EquationOfTheEquinoxesShiftsTheResult) {
  const double t = 0.2;
  const double eps = 0.409;
  const double dpsi = 1e-4;  // radians
  const double shift = UT1(10, t, 0, eps, 0) - UT1(10, t, dpsi, eps, 0);
  const double r = (5.9006e-11 * t - 5.9e-15 * t * t) + 1.002737909350795;
  EXPECT_NEAR(shift, std::cos(eps) * dpsi / 3.1415926535 * 12 / r, 1e-12);
}

}  // namespace
}  // namespace astro
