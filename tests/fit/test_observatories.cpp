// SPDX-License-Identifier: MIT
// The observatory list as the MPC publishes it (data/mpc/ObsCodes.html) and the observer's
// place from it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "fit/observatories.hpp"

namespace astro {
namespace {

std::string codes_file() { return std::string(ASTRO_SOURCE_DIR) + "/data/mpc/ObsCodes.html"; }

TEST(Observatories, RealListParsesWithItsPublishedValues) {
  const ObservatoryTable table = read_observatories(codes_file());
  EXPECT_EQ(table.size(), 2704u);  // the lines between <pre> and </pre> after the header
  struct Case {
    const char* code;
    double longitude, cos_phi, sin_phi;
    const char* name;
  };
  // Lines of the file, as published (columns 4-13, 14-21, 22-30).
  const Case cases[] = {
      {"000", 0.0, 0.62411, 0.77873, "Greenwich"},
      {"005", 2.23100, 0.659891, 0.748875, "Meudon"},
      {"568", 204.5278, 0.94171, 0.33725, "Maunakea"},
      {"K95", 20.81106, 0.845555, -0.532613, "MASTER-SAAO Observatory, Sutherland"},
      {"Z99", 359.97874, 0.595468, 0.800687, "Clixby Observatory, Cleethorpes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const Observatory* site = table.find(c.code);
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->has_position);
    EXPECT_DOUBLE_EQ(site->longitude_deg, c.longitude);
    EXPECT_DOUBLE_EQ(site->rho_cos_phi, c.cos_phi);
    EXPECT_DOUBLE_EQ(site->rho_sin_phi, c.sin_phi);
    EXPECT_EQ(site->name, c.name);
  }
  for (const char* spacecraft : {"245", "250", "C51"}) {
    const Observatory* site = table.find(spacecraft);
    ASSERT_NE(site, nullptr) << spacecraft;
    EXPECT_FALSE(site->has_position) << spacecraft;
  }
  EXPECT_EQ(table.find("ZZZ"), nullptr);
}

TEST(Observatories, BadLinesAndFilesThrow) {
  std::istringstream garbled("<pre>\n000   0.0000 0.6x411 +0.77873 Greenwich\n</pre>\n");
  EXPECT_THROW(read_observatories(garbled), ObservatoryFileError);
  std::istringstream empty("<pre>\n</pre>\n");
  EXPECT_THROW(read_observatories(empty), ObservatoryFileError);
  EXPECT_THROW(read_observatories(codes_file() + ".missing"), ObservatoryFileError);
}

TEST(Observatories, ObserverTurnsWithTheEarthAtItsDistanceFromTheAxis) {
  const ObservatoryTable table = read_observatories(codes_file());
  const Observatory& site = *table.find("568");
  const double radius = kEarthRadiusKm / 149597870.700;  // au
  // 2016-03-12 0h UTC and half a sidereal day (0.49863 day) later; TT = UTC + 68.184 s.
  const double utc = 57459.0, half_turn = 0.5 * 0.99726957;
  const double dtt = 68.184 / 86400.0;
  const Vector3 a = observer_geocentric(site, 2400000.5, utc, 2400000.5, utc + dtt);
  const Vector3 b =
      observer_geocentric(site, 2400000.5, utc + half_turn, 2400000.5, utc + half_turn + dtt);
  // Distance from the pole's axis and height along it (the pole of date is 0.1 degree from
  // the J2000.0 pole in 2016: 2e-3 of rho cos phi' moves into z at most).
  EXPECT_NEAR(std::hypot(a[0], a[1]), site.rho_cos_phi * radius, 2e-3 * radius);
  EXPECT_NEAR(a[2], site.rho_sin_phi * radius, 2e-3 * radius);
  // Half a sidereal day turns the part about the pole of date by half a turn; seen in the
  // J2000.0 frame, the pole's tilt (1.6e-3 rad in 2016) leaves up to twice 1.6e-3 of the
  // distance in these sums, and would leave 1.9 Earth radii if the turn were wrong.
  EXPECT_NEAR(a[0] + b[0], 0.0, 4e-3 * radius);
  EXPECT_NEAR(a[1] + b[1], 0.0, 4e-3 * radius);
  EXPECT_NEAR(a[2] - b[2], 0.0, 4e-3 * radius);
  EXPECT_GT(std::hypot(a[0] - b[0], a[1] - b[1]), 1.8 * site.rho_cos_phi * radius);
}

}  // namespace
}  // namespace astro
