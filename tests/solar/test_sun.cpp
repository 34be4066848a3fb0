// SPDX-License-Identifier: MIT
// The Sun's position for a site: the reference instant, culmination, the switches, and
// hourly runs through two whole years far from J2000.0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/constants.hpp"
#include "solar/orientation.hpp"
#include "solar/refraction.hpp"
#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr double kRightAngle = 1.5707963267948966;  // full double, for geometry
constexpr double kFourDecimalsDeg = 0.00005;         // printed to 4 decimals of a degree
constexpr double kArcsec = 4.848136811e-06;
// The outputs are reduced to one turn of 6.283185307, 1.8e-10 rad short of a full turn, so
// an angle that wrapped differs from the unreduced one by that much.
constexpr double kWrapTol = 5e-10;

struct Sun {
  double AZ, HT, RA, DE, HA, HeLong, HeLat;
};

Sun rizar(double jd, double lon, double lat, std::int32_t precession, std::int32_t nutation,
          std::int32_t refraction) {
  Sun s;
  RIZAR(jd, lon, lat, precession, nutation, refraction, s.AZ, s.HT, s.RA, s.DE, s.HA, s.HeLong,
        s.HeLat);
  return s;
}

struct ReferenceCase {
  const char* label;
  std::int32_t switches;
  double AZ, HT, HeLong, HA, DE, RA;  // degrees, in the order the table prints them
};

// 2026 June 9, 12h UT (JD 2461201.0) at 14.4 deg E, 50.1 deg N, as the program's table
// prints them (outputs x 57.29577951471995, 4 decimals).
const ReferenceCase kReference[] = {
    {"all switches off", 0, 28.8130, 60.3990, 78.3102, 14.9791, 22.9183, 77.2922},
    {"all switches on", 1, 28.1284, 60.5634, 78.6814, 14.5777, 22.9524, 77.6937},
};

TEST(Rizar, ReferenceInstant) {
  for (const ReferenceCase& c : kReference) {
    SCOPED_TRACE(c.label);
    const Sun s = rizar(2461201.0, 14.4 * kDegToRad, 50.1 * kDegToRad, c.switches, c.switches,
                        c.switches);
    EXPECT_NEAR(s.AZ * kRadToDeg, c.AZ, kFourDecimalsDeg);
    EXPECT_NEAR(s.HT * kRadToDeg, c.HT, kFourDecimalsDeg);
    EXPECT_NEAR(s.HeLong * kRadToDeg, c.HeLong, kFourDecimalsDeg);
    EXPECT_NEAR(s.HA * kRadToDeg, c.HA, kFourDecimalsDeg);
    EXPECT_NEAR(s.DE * kRadToDeg, c.DE, kFourDecimalsDeg);
    EXPECT_NEAR(s.RA * kRadToDeg, c.RA, kFourDecimalsDeg);
  }
}

TEST(Rizar, SwitchValuesOtherThanOneAreOff) {
  const Sun off = rizar(2461201.0, 0.25, 0.87, 0, 0, 0);
  for (std::int32_t value : {2, -1, 100}) {
    SCOPED_TRACE(value);
    const Sun s = rizar(2461201.0, 0.25, 0.87, value, value, value);
    EXPECT_EQ(s.AZ, off.AZ);
    EXPECT_EQ(s.HT, off.HT);
    EXPECT_EQ(s.RA, off.RA);
    EXPECT_EQ(s.HeLong, off.HeLong);
  }
}

TEST(Rizar, PrecessionAtJ2000ChangesNothing) {
  // T = 0: all three precession angles are zero, so RA and DE are bit for bit the same; the
  // ecliptic coordinates differ only by the round trip through the obliquity rotation.
  const Sun off = rizar(2451545.0, 0.25, 0.87, 0, 0, 0);
  const Sun on = rizar(2451545.0, 0.25, 0.87, 1, 0, 0);
  EXPECT_EQ(on.RA, off.RA);
  EXPECT_EQ(on.DE, off.DE);
  EXPECT_NEAR(on.HeLong, off.HeLong, 1e-15);
  EXPECT_NEAR(on.HeLat, off.HeLat, 1e-15);
}

TEST(Rizar, PrecessionAdvancesTheLongitude) {
  // About 50.3" a year: 26.44 years from J2000.0 give some 1330".
  const double lon = 0.25, lat = 0.87;
  const double shift = rizar(2461201.0, lon, lat, 1, 0, 0).HeLong -
                       rizar(2461201.0, lon, lat, 0, 0, 0).HeLong;
  EXPECT_NEAR(shift / kArcsec, 1330, 5);
}

// Hour angle wrapped to (-pi, pi], continuous through the upper culmination.
double signed_hour_angle(double jd, double lon, double lat) {
  const double ha = rizar(jd, lon, lat, 1, 1, 0).HA;
  return ha > kPi ? ha - kTwoPi : ha;
}

TEST(Rizar, UpperCulmination) {
  // Bisect for the hour angle 0 near local noon; there the Sun is due south for a site north
  // of its declination (+22.9 deg) and due north for one south of it, at a geometric height
  // of 90 deg - |latitude - declination|. Neighbouring Julian Dates near 2.46e6 are 4.7e-10
  // days apart, 3e-9 rad of hour angle; the azimuth moves at most 2.5 times as fast.
  const double lon = 14.4 * kDegToRad;
  for (double lat_deg : {50.1, -30.0}) {
    SCOPED_TRACE(lat_deg);
    const double lat = lat_deg * kDegToRad;
    double before = 2461200.8, after = 2461201.1;
    ASSERT_LT(signed_hour_angle(before, lon, lat), 0);
    ASSERT_GT(signed_hour_angle(after, lon, lat), 0);
    for (int step = 0; step < 60; ++step) {
      const double mid = 0.5 * (before + after);
      (signed_hour_angle(mid, lon, lat) < 0 ? before : after) = mid;
    }
    const Sun s = rizar(after, lon, lat, 1, 1, 0);
    EXPECT_LT(std::fabs(signed_hour_angle(after, lon, lat)), 3e-9);
    if (lat_deg > 0) {
      EXPECT_LT(std::fmin(s.AZ, kTwoPi - s.AZ), 8e-9);
    } else {
      EXPECT_NEAR(s.AZ, 2 * kRightAngle, 8e-9);
    }
    EXPECT_NEAR(s.HT, kRightAngle - std::fabs(lat - s.DE), 1e-9);
  }
}

TEST(Rizar, RefractionOnlyAboveTheHorizon) {
  const double lon = 14.4 * kDegToRad, lat = 50.1 * kDegToRad;
  // Night (0h UT, June 10) and day (12h UT, June 9).
  const Sun night = rizar(2461201.5, lon, lat, 1, 1, 0);
  ASSERT_LT(night.HT, 0);
  EXPECT_EQ(rizar(2461201.5, lon, lat, 1, 1, 1).HT, night.HT);
  const Sun day = rizar(2461201.0, lon, lat, 1, 1, 0);
  EXPECT_EQ(rizar(2461201.0, lon, lat, 1, 1, 1).HT, day.HT + REFRAKCE(day.HT, 1013.25, 10.0));
}

TEST(Rizar, OutOfRangeInstantsThrow) {
  // 200,000 years on the Earth's eccentricity exceeds 1; NaN cannot be placed at all.
  const double far = 2451545.0 + 2000 * 36525.0;
  EXPECT_THROW(rizar(far, 0.25, 0.87, 1, 1, 1), RangeError);
  EXPECT_THROW(rizar(std::numeric_limits<double>::quiet_NaN(), 0.25, 0.87, 1, 1, 1), RangeError);
}

// Hourly positions through one year with every correction on. The mean anomaly is beyond
// 512 rad in both years (about -628 in 1900, +1257 in 2200), where Kepler's iteration must
// stop on a repeated iterate. Checked: ranges, the rotation identities that tie the outputs
// together (independent of the distance), refraction, and a smooth ecliptic longitude.
// The vector leaves the J2000.0 ecliptic by the obliquity of the date and comes back by the
// same obliquity, so the latitude keeps the Earth orbit's inclination to the J2000.0
// ecliptic, about 47" a century (at most 46.8" in 1900 and 103.5" in 2200).
void check_year(double year, double lon, double lat) {
  const double start = JD(year, 1, 1.0);
  const double sin_lat = std::sin(lat), cos_lat = std::cos(lat);
  double last_long = std::numeric_limits<double>::quiet_NaN();
  for (int hour = 0; hour < 365 * 24; ++hour) {
    const double jd = start + hour / 24.0;
    const Sun s = rizar(jd, lon, lat, 1, 1, 1);
    const Sun g = rizar(jd, lon, lat, 1, 1, 0);  // geometric height
    SCOPED_TRACE(testing::Message() << "jd " << jd);
    for (double angle : {s.AZ, s.RA, s.HA, s.HeLong}) {
      ASSERT_GE(angle, 0.0);
      ASSERT_LE(angle, kTwoPi);
    }
    ASSERT_LE(std::fabs(s.HT), kRightAngle);
    ASSERT_LE(std::fabs(s.DE), 23.5 * kDegToRad);
    const double T = (jd - 2451545.0) / 36525;
    ASSERT_LE(std::fabs(s.HeLat), (55 * std::fabs(T) + 5) * kArcsec);

    // Equator of date from the ecliptic coordinates by the mean obliquity, as the routine
    // reads them: sin DE = sin eps cos b sin l + cos eps sin b, cos DE cos RA = cos b cos l.
    const double eps = EPS_EARTH(T);
    ASSERT_NEAR(std::sin(s.DE), std::sin(eps) * std::cos(s.HeLat) * std::sin(s.HeLong) +
                                    std::cos(eps) * std::sin(s.HeLat),
                kWrapTol);
    ASSERT_NEAR(std::cos(s.DE) * std::cos(s.RA), std::cos(s.HeLat) * std::cos(s.HeLong), kWrapTol);
    // Hour angle is local sidereal time minus right ascension.
    double gmst0, gmst, lst;
    LST(jd, lon / kDegToRad, gmst0, gmst, lst);
    ASSERT_NEAR(std::remainder(lst * kPi / 12 - s.RA - s.HA, 4 * kRightAngle), 0.0, 3 * kWrapTol);
    // Horizon from hour angle and declination: sin h = sin lat sin DE + cos lat cos DE cos HA,
    // and cos h sin AZ = cos DE sin HA (azimuth from the south through the west).
    ASSERT_NEAR(std::sin(g.HT), sin_lat * std::sin(s.DE) + cos_lat * std::cos(s.DE) * std::cos(s.HA),
                kWrapTol);
    ASSERT_NEAR(std::cos(g.HT) * std::sin(s.AZ), std::cos(s.DE) * std::sin(s.HA), kWrapTol);
    ASSERT_EQ(s.HT, g.HT > 0 ? g.HT + REFRAKCE(g.HT, -1.0, -274.0) : g.HT);

    // The Sun moves 0.953 to 1.019 deg a day along the ecliptic.
    if (hour > 0) {
      const double step = std::remainder(s.HeLong - last_long, kTwoPi);
      ASSERT_GT(step, 0.953 / 24 * kDegToRad * 0.999);
      ASSERT_LT(step, 1.019 / 24 * kDegToRad * 1.001);
    }
    last_long = s.HeLong;
  }
}

TEST(Rizar, HourlyThrough1900) { check_year(1900, 14.4 * kDegToRad, 50.1 * kDegToRad); }

TEST(Rizar, HourlyThrough2200) { check_year(2200, -70.0 * kDegToRad, -33.4 * kDegToRad); }

}  // namespace
}  // namespace astro
