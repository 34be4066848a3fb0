// SPDX-License-Identifier: MIT
// The Sun as one call: the same chain as RIZAR bit for bit, the north-based azimuth, the air
// handed to refraction, the distance, the batch call and the Sun for orbit determination.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <stdexcept>
#include <vector>

#include "core/constants.hpp"
#include "solar/elements.hpp"
#include "solar/ephemeris.hpp"
#include "solar/orientation.hpp"
#include "solar/refraction.hpp"
#include "solar/rotation.hpp"
#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"
#include "tests/support/support.hpp"

namespace astro {
namespace {

using support::kAu;

struct Instant {
  const char* label;
  double jd;
  double latitude_deg, longitude_deg;
};

// Instants from 1900 to 2200 at sites north and south, east and west, the Sun up and down,
// a polar day and a polar night.
const Instant kInstants[] = {
    {"Prague, June noon", 2461201.0, 50.0833, 14.4167},
    {"J2000.0 at Greenwich", 2451545.0, 51.4769, 0.0},
    {"Cape Town, December morning", 2461395.8, -33.9249, 18.4241},
    {"Quito, March night", 2461120.1, -0.18, -78.4678},
    {"Tromso, midwinter", 2461035.5, 69.6492, 18.9553},
    {"South Pole, polar day", 2461031.25, -89.99, 0.0},
    {"Honolulu, 1900", 2415021.3, 21.3069, -157.8583},
    {"Wellington, 2200", 2524595.9, -41.2865, 174.7762},
};

void expect_same_as_rizar(const Instant& c, std::int32_t precession, std::int32_t nutation,
                          std::int32_t refraction) {
  const double phi = c.latitude_deg * kDegToRad, lambda = c.longitude_deg * kDegToRad;
  double AZ, HT, RA, DE, HA, HeLong, HeLat;
  RIZAR(c.jd, lambda, phi, precession, nutation, refraction, AZ, HT, RA, DE, HA, HeLong, HeLat);
  SunOptions options;
  options.precession = precession == 1;
  options.nutation = nutation == 1;
  options.refraction = refraction == 1;
  const SunPosition s = sun_position(c.jd, Site{phi, lambda}, options);
  EXPECT_EQ(s.azimuth_south, AZ);
  EXPECT_EQ(s.height, HT);
  EXPECT_EQ(s.right_ascension, RA);
  EXPECT_EQ(s.declination, DE);
  EXPECT_EQ(s.hour_angle, HA);
  EXPECT_EQ(s.ecliptic_longitude, HeLong);
  EXPECT_EQ(s.ecliptic_latitude, HeLat);
}

TEST(SunPosition, EqualsRizarBitForBitForEverySwitch) {
  for (const Instant& c : kInstants) {
    for (int bits = 0; bits < 8; ++bits) {
      SCOPED_TRACE(testing::Message() << c.label << ", switches " << (bits & 1) << (bits >> 1 & 1)
                                      << (bits >> 2 & 1));
      expect_same_as_rizar(c, bits & 1, bits >> 1 & 1, bits >> 2 & 1);
    }
  }
}

TEST(SunPosition, DefaultOptionsAreRizarWithEverySwitchOn) {
  const Instant& c = kInstants[0];
  const Site site{c.latitude_deg * kDegToRad, c.longitude_deg * kDegToRad};
  double AZ, HT, RA, DE, HA, HeLong, HeLat;
  RIZAR(c.jd, site.longitude, site.latitude, 1, 1, 1, AZ, HT, RA, DE, HA, HeLong, HeLat);
  const SunPosition s = sun_position(c.jd, site);
  EXPECT_EQ(s.height, HT);
  EXPECT_EQ(s.azimuth_south, AZ);
}

TEST(SunPosition, AzimuthCountsFromNorthThroughEast) {
  for (const Instant& c : kInstants) {
    SCOPED_TRACE(c.label);
    const SunPosition s =
        sun_position(c.jd, Site{c.latitude_deg * kDegToRad, c.longitude_deg * kDegToRad});
    EXPECT_GE(s.azimuth, 0.0);
    EXPECT_LT(s.azimuth, 2 * kPi);
    EXPECT_NEAR(support::angle_difference(s.azimuth - s.azimuth_south, kPi), 0.0, 1e-15);
  }
  // Morning Sun in the east, afternoon Sun in the west, at Prague on 2026 June 9 (UT 6h, 16h).
  const Site prague{50.0833 * kDegToRad, 14.4167 * kDegToRad};
  EXPECT_NEAR(sun_position(2461200.75, prague).azimuth * kRadToDeg, 90.0, 15.0);
  EXPECT_NEAR(sun_position(2461201.1667, prague).azimuth * kRadToDeg, 270.0, 15.0);
}

TEST(SunPosition, RefractionTakesTheGivenAir) {
  const Site site{50.0833 * kDegToRad, 14.4167 * kDegToRad};
  const double jd = 2461200.7;  // the Sun a few degrees up
  SunOptions geometric;
  geometric.refraction = false;
  const double h = sun_position(jd, site, geometric).height;
  ASSERT_GT(h, 0.0);
  struct Air {
    double pressure_hpa, temperature_c;
  };
  for (const Air air : {Air{1013.25, 10.0}, Air{900.0, -5.0}, Air{0.0, 20.0}, Air{1050.0, 35.0}}) {
    SCOPED_TRACE(testing::Message() << air.pressure_hpa << " hPa, " << air.temperature_c << " C");
    SunOptions options;
    options.pressure_hpa = air.pressure_hpa;
    options.temperature_c = air.temperature_c;
    EXPECT_EQ(sun_position(jd, site, options).height,
              h + REFRAKCE(h, air.pressure_hpa, air.temperature_c));
  }
}

// The Earth's heliocentric distance from ERFA's eraEpv00 (liberfa 2.0.0, TDB taken as the
// JD), against the model's Sun-Earth distance. The model's mean elements follow the
// Earth-Moon barycentre, up to 3.1e-5 AU from the Earth's centre; over 1900-2100 the two
// differ by at most 4.1e-5 AU (3.8e-5 AU in 1990-2029).
TEST(SunPosition, DistanceAgreesWithErfa) {
  struct Case {
    double jd, erfa_au;
  };
  const Case kCases[] = {
      {2451545.0, 0.983327672}, {2455197.5, 0.983302949}, {2461200.5, 1.015029638},
      {2433282.5, 0.983243621}, {2469807.5, 0.983349324},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "jd " << c.jd);
    EXPECT_NEAR(sun_position(c.jd, Site{0.5, 0.2}).distance, c.erfa_au, 5e-5 * kAu);
  }
}

TEST(SunPositions, EqualsTheCallsOneByOne) {
  const Site site{-33.9249 * kDegToRad, 18.4241 * kDegToRad};
  SunOptions options;
  options.nutation = false;
  std::vector<double> jd;
  for (int k = 0; k < 100; ++k) jd.push_back(2461395.5 + k * 0.0137);
  std::vector<SunPosition> out(jd.size());
  sun_positions(jd, site, options, out);
  for (std::size_t k = 0; k < jd.size(); ++k) {
    const SunPosition one = sun_position(jd[k], site, options);
    ASSERT_EQ(out[k].azimuth, one.azimuth);
    ASSERT_EQ(out[k].height, one.height);
    ASSERT_EQ(out[k].right_ascension, one.right_ascension);
    ASSERT_EQ(out[k].distance, one.distance);
  }
  std::vector<SunPosition> short_out(jd.size() - 1);
  EXPECT_THROW(sun_positions(jd, site, options, short_out), std::invalid_argument);
}

// Every field of two positions, bit for bit.
bool same_bits(const SunPosition& a, const SunPosition& b) {
  return std::memcmp(&a, &b, sizeof(SunPosition)) == 0;
}

TEST(SunPositions, OnThreadsEqualsTheCallsOneByOne) {
  const Site site{50.0833 * kDegToRad, 14.4167 * kDegToRad};
  const SunOptions options;
  // Sizes below, at and around the block that is worth a thread, and a large odd one.
  for (const std::size_t count : {std::size_t{0}, std::size_t{1}, kMinInstantsPerThread - 1,
                                  2 * kMinInstantsPerThread, 2 * kMinInstantsPerThread + 1,
                                  std::size_t{10007}}) {
    std::vector<double> jd(count);
    for (std::size_t k = 0; k < count; ++k) jd[k] = 2447892.5 + static_cast<double>(k) * 3.7331;
    std::vector<SunPosition> one_by_one(count);
    for (std::size_t k = 0; k < count; ++k) one_by_one[k] = sun_position(jd[k], site, options);
    for (const unsigned threads : {0u, 1u, 2u, 3u, 8u}) {
      SCOPED_TRACE(testing::Message() << count << " instants, " << threads << " threads");
      std::vector<SunPosition> out(count);
      sun_positions(jd, site, options, out, threads);
      for (std::size_t k = 0; k < count; ++k) ASSERT_TRUE(same_bits(out[k], one_by_one[k])) << k;
    }
  }
}

// Two instants out of range in different blocks: the first one's error, after every entry
// before it is written.
TEST(SunPositions, OnThreadsThrowsTheFirstInstantOutOfRange) {
  const Site site{0.5, 0.2};
  std::vector<double> jd(4 * kMinInstantsPerThread, 2461200.5);
  const std::size_t first_bad = 2 * kMinInstantsPerThread + 5;
  jd[first_bad] = 1e12;
  jd[3 * kMinInstantsPerThread + 1] = std::nan("");
  const SunPosition want = sun_position(jd[0], site);
  std::string first_message;
  try {
    (void)sun_position(jd[first_bad], site);
  } catch (const RangeError& e) {
    first_message = e.what();
  }
  ASSERT_FALSE(first_message.empty());
  for (const unsigned threads : {1u, 2u, 4u}) {
    SCOPED_TRACE(threads);
    std::vector<SunPosition> out(jd.size(), SunPosition{});
    try {
      sun_positions(jd, site, SunOptions{}, out, threads);
      ADD_FAILURE() << "no exception";
    } catch (const RangeError& e) {
      EXPECT_EQ(std::string(e.what()), first_message);
    }
    for (std::size_t k = 0; k < first_bad; ++k) ASSERT_TRUE(same_bits(out[k], want)) << k;
  }
  std::vector<SunPosition> short_out(jd.size() - 1);
  EXPECT_THROW(sun_positions(jd, site, SunOptions{}, short_out, 2), std::invalid_argument);
}

TEST(SunPosition, OutOfRangeThrows) {
  EXPECT_THROW(sun_position(std::nan(""), Site{0.5, 0.2}), RangeError);
  EXPECT_THROW(sun_position(1e12, Site{0.5, 0.2}), RangeError);
}

// The Sun for E3: the negated heliocentric Earth on the J2000.0 ecliptic, turned by the mean
// obliquity of J2000.0; at the same instant it is the chain's distance and, turned back, the
// chain's J2000.0 ecliptic direction (the ecliptic longitude without precession and nutation).
TEST(SunEquatorialJ2000, IsTheChainsSunOnTheEquatorOfJ2000) {
  for (const Instant& c : kInstants) {
    SCOPED_TRACE(c.label);
    const Vector3 sun = sun_equatorial_j2000(c.jd);
    const double r = std::sqrt(sun[0] * sun[0] + sun[1] * sun[1] + sun[2] * sun[2]);
    SunOptions off;
    off.precession = off.nutation = off.refraction = false;
    const SunPosition s = sun_position(c.jd, Site{0.5, 0.2}, off);
    EXPECT_NEAR(r, s.distance, 1e-15);
    Vector3 ecl;
    ROTAT1(sun, ecl, EPS_EARTH(0.0));
    EXPECT_NEAR(support::angle_difference(std::atan2(ecl[1], ecl[0]), s.ecliptic_longitude), 0.0,
                1e-9);
    // The model's Earth leaves the J2000.0 ecliptic by its orbit's inclination to it, about
    // 47 arcseconds a century.
    const double centuries = std::fabs(c.jd - 2451545.0) / 36525;
    EXPECT_LT(std::fabs(ecl[2] / r), (55 * centuries + 5) * support::kArcsec);
  }
}

}  // namespace
}  // namespace astro
