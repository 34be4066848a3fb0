// SPDX-License-Identifier: MIT
// Orbital elements between ecliptic and equator: a reference orbit, agreement with turning
// the orbit's pole and perihelion vectors, round trips, and orbits whose new node falls on
// the equinox line.
#include <gtest/gtest.h>

#include <cmath>

#include "core/constants.hpp"
#include "solar/element_frames.hpp"

namespace astro {
namespace {

// The frames' obliquity is the single-precision 0.4090996 widened.
static_assert(kObliquityElementFrames == static_cast<double>(0.4090996f));
constexpr double kObliquity = kObliquityElementFrames;
constexpr double kTurn = 6.283185307179586;         // full double, for comparing angles
constexpr double kFullPi = 3.141592653589793;       // the double nearest pi
constexpr double kAngleTol = 1e-13;                 // rounding of a handful of trig calls
// omega is reduced with the program's turn of 6.283185307, 1.8e-10 rad short of a full one;
// an omega that wraps once or twice (13 rad is two turns) is off by that much per turn.
constexpr double kPeriTol = 6e-10;

// Difference of two angles folded into (-pi, pi].
double angle_diff(double a, double b) { return std::remainder(a - b, kTurn); }

struct Orientation {
  double i, peri, node;
};

// The elements read off the orbit's pole and perihelion direction after turning them about
// the equinox direction: R1(-eps) from the ecliptic to the equator (sign +1), R1(eps) back
// (sign -1). Written out with its own trigonometry, independent of the routines.
Orientation turn_orbit(const Orientation& o, double sign) {
  const double si = std::sin(o.i), ci = std::cos(o.i);
  const double sn = std::sin(o.node), cn = std::cos(o.node);
  const double sw = std::sin(o.peri), cw = std::cos(o.peri);
  const double pole[3] = {si * sn, -si * cn, ci};
  const double peri[3] = {cn * cw - sn * sw * ci, sn * cw + cn * sw * ci, sw * si};
  const double se = sign * std::sin(kObliquity), ce = std::cos(kObliquity);
  const auto turn = [se, ce](const double v[3], double out[3]) {
    out[0] = v[0];
    out[1] = ce * v[1] - se * v[2];
    out[2] = se * v[1] + ce * v[2];
  };
  double P[3], Q[3];
  turn(pole, P);
  turn(peri, Q);
  Orientation r;
  r.i = std::atan2(std::hypot(P[0], P[1]), P[2]);
  r.node = std::atan2(P[0], -P[1]);
  const double node_dir[3] = {std::cos(r.node), std::sin(r.node), 0};
  const double across[3] = {P[1] * node_dir[2] - P[2] * node_dir[1],
                            P[2] * node_dir[0] - P[0] * node_dir[2],
                            P[0] * node_dir[1] - P[1] * node_dir[0]};  // pole x node
  r.peri = std::atan2(across[0] * Q[0] + across[1] * Q[1] + across[2] * Q[2],
                      node_dir[0] * Q[0] + node_dir[1] * Q[1]);
  return r;
}

TEST(ElementFrames, ReferenceOrbit) {
  // (i, omega, Omega) = (0.3, 1.0, 0.5) on the ecliptic is (0.686705314614, 1.305535544492,
  // 0.225375615564) on the equator, to 12 decimals as published with the conversion.
  ElementSet set = {2.7, 0.25, 0.3, 1.0, 0.5, -4.0};
  ECLEQU(set);
  EXPECT_NEAR(set[element::i], 0.686705314614, 5e-13);
  EXPECT_NEAR(set[element::peri], 1.305535544492, 5e-13);
  EXPECT_NEAR(set[element::node], 0.225375615564, 5e-13);
  EQUECL(set);
  EXPECT_NEAR(set[element::i], 0.3, kAngleTol);
  EXPECT_NEAR(set[element::peri], 1.0, kAngleTol);
  EXPECT_NEAR(set[element::node], 0.5, kAngleTol);
  // a, e and M are not touched.
  EXPECT_EQ(set[element::a], 2.7);
  EXPECT_EQ(set[element::e], 0.25);
  EXPECT_EQ(set[element::M], -4.0);
}

TEST(ElementFrames, AgreeWithTurningTheOrbitAndRoundTrip) {
  for (double i : {0.05, 0.3, 1.2, 1.9, 2.9}) {
    for (double node : {-2.8, -1.0, 0.4, 2.0, 3.1}) {
      for (double peri : {-0.5, 0.9, 4.0, 13.0}) {
        SCOPED_TRACE(testing::Message() << "i " << i << " node " << node << " peri " << peri);
        ElementSet set = {1, 0.1, i, peri, node, 0};
        ECLEQU(set);
        const Orientation want = turn_orbit({i, peri, node}, +1);
        EXPECT_NEAR(set[element::i], want.i, kAngleTol);
        EXPECT_NEAR(angle_diff(set[element::node], want.node), 0.0, kAngleTol);
        EXPECT_NEAR(angle_diff(set[element::peri], want.peri), 0.0, kPeriTol);
        EXPECT_GE(set[element::peri], 0.0);
        EXPECT_LE(set[element::peri], 6.283185307);

        EQUECL(set);
        EXPECT_NEAR(set[element::i], i, kAngleTol);
        EXPECT_NEAR(set[element::node], node, kAngleTol);
        EXPECT_NEAR(angle_diff(set[element::peri], peri), 0.0, kPeriTol);
      }
    }
  }
}

struct EquinoxCase {
  const char* label;
  void (*convert)(ElementSet&);
  double sign;
  double i, node;
};

// Orbits whose new node lies on the equinox line, where sin i sin Omega is zero and the
// quotient for sin i' would be 0/0 (or 0 over the sine of the double nearest pi).
const EquinoxCase kEquinoxCases[] = {
    {"ecliptic orbit to the equator", ECLEQU, +1, 0.0, 0.7},
    {"equatorial orbit to the ecliptic", EQUECL, -1, 0.0, 0.7},
    {"node at the equinox", ECLEQU, +1, 0.6, 0.0},
    {"node at the equinox, turned over", ECLEQU, +1, 3.0, 0.0},
    {"node at the equinox, back", EQUECL, -1, 0.6, 0.0},
};

TEST(ElementFrames, NodeOnTheEquinoxLine) {
  for (const EquinoxCase& c : kEquinoxCases) {
    SCOPED_TRACE(c.label);
    ElementSet set = {1, 0.1, c.i, 0.8, c.node, 0};
    c.convert(set);
    const Orientation want = turn_orbit({c.i, 0.8, c.node}, c.sign);
    EXPECT_NEAR(set[element::i], want.i, kAngleTol);
    EXPECT_NEAR(angle_diff(set[element::node], want.node), 0.0, kAngleTol);
    if (c.i != 0) {  // in its own plane an orbit's node, and so omega, is arbitrary
      EXPECT_NEAR(angle_diff(set[element::peri], want.peri), 0.0, kPeriTol);
    }
  }
}

// Nodes at and next to pi, where the new node nears pi too and the quotient
// sin i sin Omega / sin Omega' loses every digit (the sine of the double nearest pi is
// 1.2e-16): it gave i' = 0.792 for ECLEQU(i = 1, Omega = pi) and 0.371 for EQUECL(i = 0.3,
// Omega = pi), where turning the orbit gives 0.591 and 0.709. An inclination of 1e-12 leaves
// the node defined but sin i tiny.
const EquinoxCase kNodeNearPiCases[] = {
    {"node pi to the equator", ECLEQU, +1, 1.0, kFullPi},
    {"node pi to the ecliptic", EQUECL, -1, 0.3, kFullPi},
    {"node -pi to the equator", ECLEQU, +1, 1.0, -kFullPi},
    {"node pi + 1e-10 to the equator", ECLEQU, +1, 1.0, kFullPi + 1e-10},
    {"node pi - 1e-10 to the equator", ECLEQU, +1, 1.0, kFullPi - 1e-10},
    {"node pi + 1e-10 to the ecliptic", EQUECL, -1, 0.3, kFullPi + 1e-10},
    {"node pi - 1e-10 to the ecliptic", EQUECL, -1, 0.3, kFullPi - 1e-10},
    {"i 1e-12, node pi, to the equator", ECLEQU, +1, 1e-12, kFullPi},
    {"i 1e-12, node pi, to the ecliptic", EQUECL, -1, 1e-12, kFullPi},
    {"i 1e-12, node 0.7, to the equator", ECLEQU, +1, 1e-12, 0.7},
    {"i 1e-12, node pi - 1e-10, to the ecliptic", EQUECL, -1, 1e-12, kFullPi - 1e-10},
};

TEST(ElementFrames, NodeAtAndNearPi) {
  for (const EquinoxCase& c : kNodeNearPiCases) {
    SCOPED_TRACE(c.label);
    ElementSet set = {1, 0.1, c.i, 1.0, c.node, 0};
    c.convert(set);
    const Orientation want = turn_orbit({c.i, 1.0, c.node}, c.sign);
    EXPECT_NEAR(set[element::i], want.i, kAngleTol);
    EXPECT_NEAR(angle_diff(set[element::node], want.node), 0.0, kAngleTol);
    EXPECT_NEAR(angle_diff(set[element::peri], want.peri), 0.0, kAngleTol);
  }
}

}  // namespace
}  // namespace astro
