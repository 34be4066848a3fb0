// SPDX-License-Identifier: MIT
// Heliocentric position from elements: special orientations, an inclined eccentric orbit
// against the true-anomaly formula, the radius, and the rejection of non-elliptic sets.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "solar/ephemeris.hpp"
#include "solar/kepler.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr double kRightAngle = 1.5707963267948966;  // full double, for geometry
constexpr double kAuTol = 1e-15;                     // rounding, astronomical units
// KEPLER stops once a pass changes E by less than 1e-13; E is then good to a few 1e-14.
constexpr double kKeplerTol = 5e-14;

struct Case {
  const char* label;
  ElementSet set;  // a, e, i, omega, Omega, M
  Vector3 want;
};

// The first three follow from the geometry (circular orbits turned by 0 or a right angle).
// The last is r (cos Omega cos u - sin Omega sin u cos i, sin Omega cos u + cos Omega sin u
// cos i, sin u sin i) with u = omega + true anomaly, evaluated with mpmath at 40 digits.
const Case kCases[] = {
    {"circle at perihelion", {2.5, 0, 0, 0, 0, 0}, {2.5, 0, 0}},
    {"circle a quarter on", {2.5, 0, 0, 0, 0, kRightAngle}, {0, 2.5, 0}},
    {"polar circle a quarter on", {2.5, 0, kRightAngle, 0, 0, kRightAngle}, {0, 0, 2.5}},
    {"inclined ellipse",
     {2.0, 0.3, 0.5, 1.0, 2.0, 0.7},
     {-0.64051139227907592, -1.3800565815329179, 0.631919858184437}},
};

TEST(Eph, PositionsFromElements) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    Vector3 position;
    EPH(c.set, position);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(position[k], c.want[k], kKeplerTol) << k;
  }
}

TEST(Eph, RadiusIsAOneMinusECosE) {
  for (double e : {0.0, 0.0167, 0.4, 0.95}) {
    for (double M : {-7.0, 0.2, 3.0, 650.0}) {
      SCOPED_TRACE(testing::Message() << "e " << e << " M " << M);
      const ElementSet set = {1.3, e, 2.2, -0.4, 5.0, M};
      Vector3 position;
      EPH(set, position);
      const double E = KEPLER(M, e);
      EXPECT_NEAR(std::hypot(position[0], position[1], position[2]), 1.3 * (1 - e * std::cos(E)),
                  4 * kAuTol);
    }
  }
}

TEST(Eph, EccentricityOfOneOrMoreIsRejected) {
  for (double e : {1.0, 1.5, std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(e);
    Vector3 position = {9, 9, 9};
    EXPECT_THROW(EPH({1.0, e, 0.1, 0.2, 0.3, 0.4}, position), RangeError);
    EXPECT_EQ(position, (Vector3{9, 9, 9}));
  }
}

}  // namespace
}  // namespace astro
