// SPDX-License-Identifier: MIT
// PV and E1: worked examples, the round trip, and two-body invariants over random orbits.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/constants.hpp"
#include "orbit/state_vector.hpp"
#include "solar/kepler.hpp"
#include "tests/support/support.hpp"

namespace astro {
namespace {

constexpr double kGaussPV = 0.017202098902128322;  // PV's constant, AU^1.5 / day
constexpr double kMuPV = kGaussPV * kGaussPV;

double length(const Vector3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }
double dot(const Vector3& u, const Vector3& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }
Vector3 cross(const Vector3& u, const Vector3& v) {
  return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

// Difference of two angles, radians, modulo the turn to which E1 reduces them.
using support::angle_difference;

TEST(PV, UnitCircleAtTheNodeIsExact) {
  Vector3 position, velocity;
  PV({1, 0, 0, 0, 0, 0}, position, velocity);
  EXPECT_EQ(position, (Vector3{1, 0, 0}));
  EXPECT_EQ(velocity, (Vector3{0, kGaussPV, 0}));
}

// Shapes a hand can check: circular speed k / sqrt(a) perpendicular to the radius whatever
// the angles; perihelion at M = 0; in the reference plane only peri + node counts.
TEST(PV, CircularPerihelionAndPlanarCases) {
  Vector3 p, v;
  PV({4, 0, 0.7, 1.1, 2.3, 0.4}, p, v);
  EXPECT_NEAR(length(p), 4, 1e-15);
  EXPECT_NEAR(length(v), kGaussPV / 2, 1e-18);
  EXPECT_NEAR(dot(p, v), 0, 1e-17);

  PV({2.5, 0.4, 0.3, 1.0, 2.0, 0.0}, p, v);
  EXPECT_NEAR(length(p), 2.5 * (1 - 0.4), 1e-15);
  EXPECT_NEAR(dot(p, v), 0, 1e-17);

  Vector3 p2, v2;
  PV({2.5, 0.4, 0.0, 1.0, 2.0, 0.9}, p, v);
  PV({2.5, 0.4, 0.0, 2.5, 0.5, 0.9}, p2, v2);
  for (int c = 0; c < 3; ++c) {
    EXPECT_NEAR(p[c], p2[c], 1e-15);
    EXPECT_NEAR(v[c], v2[c], 1e-17);
  }
}

// Perihelion of a = 1/0.79, e = 0.21, i = 0.3 on the x axis: r = 1, speed 1.1 k.
TEST(E1, PerihelionExample) {
  ElementSet el;
  E1({1, 0, 0}, {0, 1.1 * kGaussPV * std::cos(0.3), 1.1 * kGaussPV * std::sin(0.3)}, el, 0.0);
  EXPECT_NEAR(el[element::a], 1 / 0.79, 1e-14);
  EXPECT_NEAR(el[element::e], 0.21, 1e-14);
  EXPECT_NEAR(el[element::i], 0.3, 1e-15);
  EXPECT_NEAR(el[element::peri], 0, 1e-15);
  EXPECT_NEAR(el[element::node], 0, 1e-15);
  EXPECT_NEAR(el[element::M], 0, 1e-15);
}

TEST(E1, InvertsPV) {
  const ElementSet want = {2.5, 0.2, 0.3, 1.0, 2.0, 0.7};
  Vector3 p, v;
  PV(want, p, v);
  ElementSet got;
  E1(p, v, got, 0.0);
  for (std::size_t j = 0; j < 6; ++j) {
    SCOPED_TRACE(j);
    EXPECT_NEAR(got[j], want[j], 2e-14);
  }
}

// The mass term only scales the gravitational parameter: the plane (i, node) stays, the
// conic (a, e) and the position on it (peri, M) move.
TEST(E1, MassTermChangesTheConicButNotThePlane) {
  Vector3 p, v;
  PV({2.5, 0.2, 0.3, 1.0, 2.0, 0.7}, p, v);
  ElementSet light, heavy;
  E1(p, v, light, 0.0);
  E1(p, v, heavy, 1e-3 * kMuPV);  // about Jupiter's mass
  EXPECT_EQ(heavy[element::i], light[element::i]);
  EXPECT_EQ(heavy[element::node], light[element::node]);
  EXPECT_GT(std::fabs(heavy[element::a] - light[element::a]), 1e-3);
  EXPECT_GT(std::fabs(heavy[element::e] - light[element::e]), 1e-4);
  EXPECT_GT(std::fabs(heavy[element::peri] - light[element::peri]), 1e-4);
  EXPECT_GT(std::fabs(heavy[element::M] - light[element::M]), 1e-4);
}

// Outside the domain the results are IEEE values, never a crash or an exception.
TEST(E1, OutsideTheDomainGivesIeeeValues) {
  ElementSet el;
  // Hyperbolic: twice the circular speed at r = 1.
  EXPECT_NO_THROW(E1({1, 0, 0}, {0, 2 * kGaussPV * std::cos(0.3), 2 * kGaussPV * std::sin(0.3)},
                     el, 0.0));
  EXPECT_LT(el[element::a], 0);
  EXPECT_GT(el[element::e], 1);
  EXPECT_TRUE(std::isnan(el[element::M]));
  // Not finite or degenerate states.
  const double inf = HUGE_VAL;
  const Vector3 kBad[][2] = {
      {{std::nan(""), 0, 0}, {0, kGaussPV, 0}},
      {{inf, 0, 0}, {0, kGaussPV, 0}},
      {{1, 0, 0}, {0, inf, inf}},
      {{0, 0, 0}, {0, 0, 0}},
      {{1, 0, 0}, {0, kGaussPV, 0}},  // in the reference plane
  };
  for (const auto& state : kBad) {
    EXPECT_NO_THROW(E1(state[0], state[1], el, 0.0));
  }
}

TEST(PV, OutsideTheDomainGivesIeeeValues) {
  const double inf = HUGE_VAL;
  const ElementSet kBad[] = {
      {2.0, 1.5, 0.3, 1.0, 2.0, 0.7},
      {-2.0, 0.5, 0.3, 1.0, 2.0, 0.7},
      {2.0, std::nan(""), 0.3, 1.0, 2.0, 0.7},
      {2.0, 0.5, 0.3, 1.0, 2.0, inf},
      {inf, 0.5, inf, 1.0, 2.0, 0.7},
  };
  for (const ElementSet& el : kBad) {
    Vector3 p, v;
    EXPECT_NO_THROW(PV(el, p, v));
    EXPECT_TRUE(std::isnan(v[0]) || std::isnan(v[1]) || std::isnan(v[2]));
  }
}

// A random direct elliptic orbit, away from the shapes whose angles are undefined.
ElementSet random_orbit(std::mt19937_64& random) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  return {0.3 + 50 * unit(random) * unit(random), 0.02 + 0.93 * unit(random),
          0.02 + 1.5 * unit(random),              kTwoPi * unit(random),
          kTwoPi * unit(random),                  kTwoPi * unit(random)};
}

// E1 reduces its angles with the program's turn 6.283185307, so an angle whose arc tangent is
// negative comes back smaller than the true one by 2 pi - 6.283185307 = 1.8e-10 rad. The true
// anomaly carries that into E and M, amplified by dM/dnu <= (1 + e)^1.5 / sqrt(1 - e), and the
// reduction of M itself can add it once more.
constexpr double kTurnError = 1.8e-10;

TEST(StateVectorProperties, RoundTripOverRandomOrbits) {
  std::mt19937_64 random(7331);
  for (int trial = 0; trial < 300; ++trial) {
    const ElementSet want = random_orbit(random);
    SCOPED_TRACE(::testing::Message() << "a " << want[0] << " e " << want[1] << " i " << want[2]
                                      << " peri " << want[3] << " node " << want[4] << " M "
                                      << want[5]);
    Vector3 p, v;
    PV(want, p, v);
    ElementSet got;
    E1(p, v, got, 0.0);
    const double e = want[element::e];
    EXPECT_NEAR(got[element::a] / want[element::a], 1, 1e-12);
    EXPECT_NEAR(got[element::e], e, 1e-12);
    EXPECT_NEAR(got[element::i], want[element::i], 1e-12);
    // Angles compared modulo the turn; rounding adds about 1e-16 / e to peri and M.
    EXPECT_NEAR(angle_difference(got[element::node], want[element::node]), 0, kTurnError + 1e-12);
    EXPECT_NEAR(angle_difference(got[element::peri], want[element::peri]), 0,
                2 * kTurnError + 1e-12);
    EXPECT_NEAR(angle_difference(got[element::M], want[element::M]), 0,
                (std::pow(1 + e, 1.5) / std::sqrt(1 - e) + 1) * kTurnError + 1e-12);
  }
}

// Near-circular orbits: peri and M each lose digits, their sum (the argument of latitude at
// the epoch, measured from the node) stays defined.
TEST(StateVectorProperties, NearCircularOrbitsKeepTheArgumentOfLatitude) {
  std::mt19937_64 random(4242);
  for (int trial = 0; trial < 100; ++trial) {
    ElementSet want = random_orbit(random);
    want[element::e] = 1e-5;
    SCOPED_TRACE(trial);
    Vector3 p, v;
    PV(want, p, v);
    ElementSet got;
    E1(p, v, got, 0.0);
    EXPECT_NEAR(got[element::a] / want[element::a], 1, 1e-12);
    EXPECT_NEAR(got[element::e], want[element::e], 1e-10);
    EXPECT_NEAR(got[element::i], want[element::i], 1e-12);
    EXPECT_NEAR(angle_difference(got[element::node], want[element::node]), 0, kTurnError + 1e-12);
    // M and E differ by e sin E, so peri + M matches up to the same 2e terms on both sides.
    const double sum_want = want[element::peri] + want[element::M];
    const double sum_got = got[element::peri] + got[element::M];
    EXPECT_NEAR(angle_difference(sum_got, sum_want), 0, 3 * kTurnError + 1e-9);
  }
}

// The distance from PV is a (1 - e cos E); the energy v^2/2 - mu/r equals -mu / (2a) and the
// angular momentum r x v is the same vector, of length sqrt(mu a (1 - e^2)), at two mean
// anomalies of one orbit (two-body invariants, mu = k^2 of PV).
TEST(StateVectorProperties, DistanceEnergyAndAngularMomentum) {
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> step(0.1, 6.0);
  for (int trial = 0; trial < 300; ++trial) {
    const ElementSet el = random_orbit(random);
    ElementSet later = el;
    later[element::M] += step(random);
    SCOPED_TRACE(trial);
    Vector3 p1, v1, p2, v2;
    PV(el, p1, v1);
    PV(later, p2, v2);

    const double a = el[element::a];
    const double e = el[element::e];
    const double E = EKEPL1(el[element::M], e);
    EXPECT_NEAR(length(p1) / (a * (1 - e * std::cos(E))), 1, 1e-14);

    const double energy_want = -kMuPV / (2 * a);
    const double energy1 = dot(v1, v1) / 2 - kMuPV / length(p1);
    const double energy2 = dot(v2, v2) / 2 - kMuPV / length(p2);
    EXPECT_NEAR(energy1 / energy_want, 1, 1e-12);
    EXPECT_NEAR(energy2 / energy_want, 1, 1e-12);

    const Vector3 h1 = cross(p1, v1);
    const Vector3 h2 = cross(p2, v2);
    const double h_want = std::sqrt(kMuPV * a * (1 - e * e));
    EXPECT_NEAR(length(h1) / h_want, 1, 1e-13);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(h2[c], h1[c], 1e-13 * h_want);
  }
}

}  // namespace
}  // namespace astro
