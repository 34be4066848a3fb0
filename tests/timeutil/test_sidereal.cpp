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
      // The polynomial is negative here (-10.820445297 h) and is brought into the day by
      // adding 24 h. Meeus, Astronomical Algorithms, example 12.a, gives 13h10m46.3668s =
      // 13.179546333 h (IAU 1982); LST's single-precision coefficients put it 0.030 s later.
      {"1987 April 10, 0h: negative polynomial", 2446895.5, 0, 13.179554703, 13.179554703,
       13.179554703},
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

// UT1 takes LST's local sidereal time back to the time of day, before 2000 as after it
// (the 0h is that of the instant's own day). The two use different roundings of the same
// polynomial: the single-precision 2400.0513 lags UT1's 2400.05133691 by 6.74e-5 h, 0.243 s,
// per century from J2000.0, and the rest stays below 3.4 ms (the constant terms differ by
// 0.8 ms, the rates by 2.6 ms at the end of a day).
TEST(UT1, InvertsLocalSiderealTime) {
  constexpr double kSecondInHours = 1.0 / 3600;
  for (double jd : {2451545.25, 2451600.9, 2460000.5, 2461201.0, 2469000.75, 2488070.1,
                    2451544.4, 2451544.5, 2451200.1, 2446895.5, 2415020.9, 2378496.6,
                    2305447.7, 2159349.2, 1721424.05}) {
    for (double londeg : {0.0, 14.4, -120.0}) {
      SCOPED_TRACE(testing::Message() << "jd " << jd << " lon " << londeg);
      double gmst0 = 0, gmst = 0, lst = 0;
      LST(jd, londeg, gmst0, gmst, lst);
      const double ut = (jd - (std::trunc(jd + 0.5) - 0.5)) * 24;
      const double t = (jd - 2451545.0) / 36525;
      const double tolerance = (0.243 * std::fabs(t) + 0.0034) * kSecondInHours;
      EXPECT_NEAR(UT1(lst, t, 0, 0.409, londeg * 0.017453292519444445), ut, tolerance);
    }
  }
}

// UT1's polynomial against the IAU 1982 expression of Greenwich mean sidereal time at 0h UT,
// GMST0 = 24110.54841 + 8640184.812866 T + 0.093104 T^2 - 6.2e-6 T^3 seconds (Aoki et al.
// 1982; Explanatory Supplement to the Astronomical Almanac, 1992, 2.24), with the local
// sidereal time of the instant lst = GMST0 + r ut, r the ratio of sidereal to solar time as
// UT1 takes it. UT1's coefficients are that expression in hours rounded to ten digits, which
// leaves 2.8e-9 h per century and 3e-10 h: at most 1.8e-8 h, 0.06 ms, five centuries away.
// The tolerance, 2.5e-8 h, is finer than a constant term cut to 6.6973745 (5.8e-8 h) or a
// linear one cut to 2400.0513369 (1e-8 h more per century).
TEST(UT1, AgreesWithTheIau1982Expression) {
  constexpr double kTolerance = 2.5e-8;  // hours, 0.09 ms
  for (double jd : {2451545.3, 2451544.2, 2460000.7, 2269000.6, 2634090.2, 2268920.3,
                    2634170.4}) {
    SCOPED_TRACE(testing::Message() << "jd " << jd);
    const long double jd0 = std::floor(jd + 0.5L) - 0.5L;
    const long double T = (jd0 - 2451545.0L) / 36525;
    const long double seconds =
        24110.54841L + 8640184.812866L * T + 0.093104L * T * T - 6.2e-6L * T * T * T;
    long double gmst0 = std::fmod(seconds / 3600, 24.0L);  // hours, into [0, 24)
    if (gmst0 < 0) gmst0 += 24;
    const double t = (jd - 2451545.0) / 36525;
    const double r = (5.9006e-11 * t - 5.9e-15 * t * t) + 1.002737909350795;
    const double ut = static_cast<double>((jd - jd0) * 24);
    const double lst = static_cast<double>(gmst0 + r * ut);
    EXPECT_NEAR(UT1(lst, t, 0, 0.409, 0), ut, kTolerance);
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
