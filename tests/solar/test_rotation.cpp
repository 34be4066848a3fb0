// SPDX-License-Identifier: MIT
// Axis rotations: sense of rotation, the component along the axis, inverse and length.
#include <gtest/gtest.h>

#include <cmath>

#include "solar/rotation.hpp"

namespace astro {
namespace {

// A right angle at full double precision, for geometric checks (the program's own pi is
// truncated and is not what these identities are about).
constexpr double kRightAngle = 1.5707963267948966;
// Rounding of one rotation of a unit vector.
constexpr double kUnitTol = 1e-15;

using Rotation = void (*)(const Vector3&, Vector3&, double);

struct Case {
  const char* label;
  Rotation rotate;
  Vector3 in;
  double angle;
  Vector3 want;
};

// Frame rotations by a right angle, worked out from R1, R2, R3 by hand: a positive angle
// turns the frame, so the coordinates turn the other way.
const Case kRightAngleCases[] = {
    {"R3 x", ROTAT3, {1, 0, 0}, kRightAngle, {0, -1, 0}},
    {"R3 y", ROTAT3, {0, 1, 0}, kRightAngle, {1, 0, 0}},
    {"R1 y", ROTAT1, {0, 1, 0}, kRightAngle, {0, 0, -1}},
    {"R1 z", ROTAT1, {0, 0, 1}, kRightAngle, {0, 1, 0}},
    {"R2 x", ROTAT2, {1, 0, 0}, kRightAngle, {0, 0, 1}},
    {"R2 z", ROTAT2, {0, 0, 1}, kRightAngle, {-1, 0, 0}},
    {"R1 -eps takes the ecliptic pole to the equator's frame", ROTAT1, {0, 0, 1}, -0.5,
     {0, -std::sin(0.5), std::cos(0.5)}},
};

TEST(Rotation, RightAnglesTurnTheFrame) {
  for (const Case& c : kRightAngleCases) {
    SCOPED_TRACE(c.label);
    Vector3 out = {7, 7, 7};
    c.rotate(c.in, out, c.angle);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(out[k], c.want[k], kUnitTol) << "component " << k;
  }
}

TEST(Rotation, Rotat3LowersLongitudeByTheAngle) {
  const double lon = 0.7, theta = 2.1;
  Vector3 out;
  ROTAT3({std::cos(lon), std::sin(lon), 0.25}, out, theta);
  EXPECT_NEAR(std::atan2(out[1], out[0]), lon - theta, kUnitTol);
}

struct AxisCase {
  const char* label;
  Rotation rotate;
  int axis;
};
const AxisCase kRotations[] = {{"ROTAT1", ROTAT1, 0}, {"ROTAT2", ROTAT2, 1}, {"ROTAT3", ROTAT3, 2}};

TEST(Rotation, ZeroAngleAndAxisComponentAreExact) {
  const Vector3 v = {0.1, -2.3e-7, 41.5};
  for (const AxisCase& r : kRotations) {
    SCOPED_TRACE(r.label);
    Vector3 out;
    r.rotate(v, out, 0.0);
    EXPECT_EQ(out, v);
    r.rotate(v, out, 1234.5678);  // any angle, not reduced
    EXPECT_EQ(out[r.axis], v[r.axis]);
  }
}

TEST(Rotation, InverseAngleRestoresAndLengthIsKept) {
  const Vector3 vectors[] = {{1, 2, 3}, {-0.3, 0.0, 7e-3}, {-1e5, 2.5e4, -3e3}};
  const double angles[] = {0.3, -2.9, 6.283185307, 100.25};
  for (const AxisCase& r : kRotations) {
    for (const Vector3& v : vectors) {
      for (double angle : angles) {
        SCOPED_TRACE(testing::Message() << r.label << " angle " << angle << " v " << v[0]);
        const double length = std::hypot(v[0], v[1], v[2]);
        Vector3 turned, back;
        r.rotate(v, turned, angle);
        r.rotate(turned, back, -angle);
        EXPECT_NEAR(std::hypot(turned[0], turned[1], turned[2]), length, 4e-16 * length);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], v[k], 4e-16 * length);
      }
    }
  }
}

TEST(Rotation, InPlaceGivesTheSameAsSeparateVectors) {
  const Vector3 v = {0.6, -0.8, 0.25};
  for (const AxisCase& r : kRotations) {
    SCOPED_TRACE(r.label);
    Vector3 separate;
    r.rotate(v, separate, 0.9);
    Vector3 same = v;
    r.rotate(same, same, 0.9);
    EXPECT_EQ(same, separate);
  }
}

}  // namespace
}  // namespace astro
