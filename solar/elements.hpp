// SPDX-License-Identifier: MIT
// Mean orbital elements of the planets: the Earth's, with periodic perturbations by Venus,
// Mars and Jupiter, and the linear mean longitudes of the eight major planets.
//
// Time argument T: Julian centuries of 36525 days from JD 2451545.0 (no distinction between
// time scales). Frame of every angle: the ecliptic and equinox of J2000.0. No angle is
// reduced to one turn; the mean longitude and the mean anomaly grow by about 628 radians a
// century.
#pragma once

#include <cstdint>

#include "core/types.hpp"

namespace astro {

// LM1 .. LM8: linear mean longitude c0 + c1 T of Mercury .. Neptune, radians, not reduced.
//   T  Julian centuries from J2000.0
// LM2 to LM5 (Venus, Earth, Mars, Jupiter) are the arguments of the Earth's perturbations.
double LM1(double T);
double LM2(double T);
double LM3(double T);
double LM4(double T);
double LM5(double T);
double LM6(double T);
double LM7(double T);
double LM8(double T);

// ELMTS_EARTH: the Earth's mean elements at T in non-singular form.
//   T       Julian centuries from J2000.0
//   a       written: semi-major axis, astronomical units
//   lambda  written: mean longitude, radians, not reduced
//   k, h    written: e cos(varpi), e sin(varpi), varpi the longitude of perihelion
//   q, p    written: sin(i/2) cos(Omega), sin(i/2) sin(Omega)
// a, lambda, k and h carry 17 periodic terms in arguments built from LM2 .. LM5 on top of
// secular polynomials whose constants are single-precision values widened to double
// (1.000001 is used as 1.0000009536743164); q and p are secular only, so T = 0 gives
// q = p = 0 exactly.
void ELMTS_EARTH(double T, double& a, double& lambda, double& k, double& h, double& q,
                 double& p);

// ELMTS_PLANET: the mean elements of a planet at T as an ElementSet.
//   planet  1 = Mercury .. 8 = Neptune; only 3, the Earth, has element data
//   T       Julian centuries from J2000.0
//   set     written: a (au), e, i in [0, pi], omega (not reduced), Omega in (-pi, pi],
//           M = lambda - varpi at T (not reduced)
// The longitude of perihelion is 0 when |k| or |h| is at most 1e-38, and the node is 0 when
// |q| or |p| is, so at T = 0 the orbit lies in the ecliptic with i = Omega = 0. The arc sine
// of the inclination is taken of its argument clamped to [-1, 1] (it passes 1 about 140,000
// years from J2000.0).
// Throws std::invalid_argument naming the index for any index other than 3; the set is then
// left untouched.
void ELMTS_PLANET(std::int32_t planet, double T, ElementSet& set);

}  // namespace astro
