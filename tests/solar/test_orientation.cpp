// SPDX-License-Identifier: MIT
// Obliquity, precession and nutation: angles at reference instants and the action of the
// composite rotations on vectors.
#include <gtest/gtest.h>

#include <cmath>

#include "core/constants.hpp"
#include "solar/orientation.hpp"

namespace astro {
namespace {

constexpr double kUnitTol = 2e-16;  // rounding of a unit vector after three rotations

double length(const Vector3& v) { return std::hypot(v[0], v[1], v[2]); }

TEST(EpsEarth, MeanObliquity) {
  // (23 + 26/60 + s/3600) x 0.017453292519444445 with s = 21.448 - 46.815 T - 0.00059 T^2
  // + 0.001813 T^3, evaluated with mpmath at 40 digits.
  const struct {
    double T, want;
  } kCases[] = {{0.0, 0.40909280421063622}, {1.0, 0.4088658446151026}, {-3.0, 0.40977343772029954}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.T);
    EXPECT_NEAR(EPS_EARTH(c.T), c.want, 1e-16);
  }
}

struct PrecessionCase {
  const char* label;
  double T0, t;
  double zeta, z, theta;  // radians
};

// (0, 0.25): 576.573674", 576.623227", 501.050406" as published with the series.
// (0, 1): the coefficients summed by hand. The others evaluated with mpmath at 40 digits
// from the polynomials, which brings in every T0 coefficient.
const PrecessionCase kPrecession[] = {
    {"T0 0, t 0.25", 0.0, 0.25, 576.573674 * kArcsecToRad, 576.623227 * kArcsecToRad,
     501.050406 * kArcsecToRad},
    {"T0 0, t 1", 0.0, 1.0, (2306.2181 + 0.30188 + 0.017998) * kArcsecToRad,
     (2306.2181 + 1.09468 + 0.018203) * kArcsecToRad, (2004.3109 - 0.42665 - 0.041833) * kArcsecToRad},
    {"T0 1, t -1", 1.0, -1.0, -0.011186256273843116, -0.011182411677111308, -0.009714902185300912},
    {"T0 -0.5, t 0.75", -0.5, 0.75, 0.0083839670350165685, 0.00838612892186474,
     0.0072881824642999093},
    {"T0 5, t 0", 5.0, 0.0, 0.0, 0.0, 0.0},
};

TEST(PrecesAngle, ReferenceAngles) {
  // 5e-7 arcsec covers the 6 published decimals; the rest are far tighter than that.
  for (const PrecessionCase& c : kPrecession) {
    SCOPED_TRACE(c.label);
    double zeta, z, theta;
    PRECES_ANGLE(c.T0, c.t, zeta, z, theta);
    EXPECT_NEAR(zeta, c.zeta, 5e-7 * kArcsecToRad);
    EXPECT_NEAR(z, c.z, 5e-7 * kArcsecToRad);
    EXPECT_NEAR(theta, c.theta, 5e-7 * kArcsecToRad);
  }
}

TEST(Preces, MovesTheOldPoleByThetaTowardRightAscensionZPlus180) {
  // R3(-z) R2(theta) R3(-zeta) (0, 0, 1) = (-cos z sin theta, -sin z sin theta, cos theta).
  const double zeta = 0.0112, z = 0.0121, theta = 0.0097;
  Vector3 pole = {0, 0, 1};
  PRECES(pole, zeta, z, theta);
  EXPECT_NEAR(pole[0], -std::cos(z) * std::sin(theta), kUnitTol);
  EXPECT_NEAR(pole[1], -std::sin(z) * std::sin(theta), kUnitTol);
  EXPECT_NEAR(pole[2], std::cos(theta), kUnitTol);
}

TEST(Preces, ZeroAnglesChangeNothingAndTheReverseAnglesUndo) {
  const Vector3 start = {0.48, -0.6, 0.64};
  Vector3 v = start;
  PRECES(v, 0.0, 0.0, 0.0);
  EXPECT_EQ(v, start);

  double zeta, z, theta;
  PRECES_ANGLE(0.0, 2.5, zeta, z, theta);
  PRECES(v, zeta, z, theta);
  EXPECT_NEAR(length(v), 1.0, kUnitTol);
  PRECES(v, -z, -zeta, -theta);  // the inverse product R3(zeta) R2(-theta) R3(z)
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(v[k], start[k], 2 * kUnitTol) << k;
}

TEST(NutateAngle, ReferenceInstants) {
  // JD 2446895.5 (1987 April 10, T = -0.1272963723477): -3.7799" and +9.4536", that is
  // -1.832537e-05 and 4.583216e-05 rad, as published with the series; checked against
  // mpmath (40 digits) evaluating the series as written, which also gives the other two
  // instants. The mpmath values are used at 1e-15 rad (2e-10 arcsec).
  const struct {
    double T, dpsi, deps;
  } kCases[] = {{(2446895.5 - 2451545.0) / 36525, -1.8325374167113111e-05, 4.5832160916217615e-05},
                {0.5, 7.3586075480159765e-05, -2.5702148057765193e-05},
                {-2.0, -4.1296271132376677e-05, 3.4564984496746783e-05}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.T);
    double dpsi, deps;
    NUTATE_ANGLE(c.T, dpsi, deps);
    EXPECT_NEAR(dpsi, c.dpsi, 1e-15);
    EXPECT_NEAR(deps, c.deps, 1e-15);
  }
  double dpsi, deps;
  NUTATE_ANGLE((2446895.5 - 2451545.0) / 36525, dpsi, deps);
  EXPECT_NEAR(dpsi / kArcsecToRad, -3.7799, 5e-5);
  EXPECT_NEAR(deps / kArcsecToRad, 9.4536, 5e-5);
}

TEST(NutateAngle, BoundedByTheSumOfTheAmplitudes) {
  // 19.29" and 10.02" are the sums of the amplitudes in longitude and obliquity.
  for (double T = -5.0; T <= 5.0; T += 0.00173) {
    double dpsi, deps;
    NUTATE_ANGLE(T, dpsi, deps);
    ASSERT_LE(std::fabs(dpsi), 19.2900001 * kArcsecToRad) << "T " << T;
    ASSERT_LE(std::fabs(deps), 10.0200001 * kArcsecToRad) << "T " << T;
  }
}

TEST(Nutate, TurnsTheEquinoxAlongTheEcliptic) {
  // R1(-(eps + deps)) R3(-dpsi) R1(eps) (1, 0, 0)
  //   = (cos dpsi, cos(eps + deps) sin dpsi, sin(eps + deps) sin dpsi).
  const double eps = 0.409, dpsi = 1e-4, deps = 5e-5;
  Vector3 v = {1, 0, 0};
  NUTATE(v, eps, dpsi, deps);
  EXPECT_NEAR(v[0], std::cos(dpsi), kUnitTol);
  EXPECT_NEAR(v[1], std::cos(eps + deps) * std::sin(dpsi), kUnitTol);
  EXPECT_NEAR(v[2], std::sin(eps + deps) * std::sin(dpsi), kUnitTol);
}

TEST(Nutate, ZeroNutationLeavesTheVector) {
  // The two obliquity rotations cancel within rounding.
  const Vector3 start = {-0.36, 0.48, 0.8};
  Vector3 v = start;
  NUTATE(v, EPS_EARTH(0.3), 0.0, 0.0);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(v[k], start[k], kUnitTol) << k;
}

}  // namespace
}  // namespace astro
