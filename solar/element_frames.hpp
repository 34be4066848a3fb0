// SPDX-License-Identifier: MIT
// Orbital elements referred from the ecliptic to the equator and back.
//
// The two planes meet along the common equinox direction at a fixed obliquity of
// 0.4090996 rad, a single-precision value used as 0.40909960865974426 (not EPS_EARTH).
// Only i, omega and Omega change; a, e and M are left as they are. On return i lies in
// [0, pi], Omega in (-pi, pi] and omega, the only one reduced, in [0, 6.283185307].
// sin i' is always the length of (x, y), the arguments of the new node's arc tangent, never
// the quotient sin i sin Omega / sin Omega': that quotient is 0/0 where the new node falls on
// the equinox line and loses every digit as Omega' nears pi. Accurate to rounding for every
// i and Omega, i = 0 and Omega = pi included.
#pragma once

#include "core/types.hpp"

namespace astro {

// ECLEQU: i, omega, Omega from the ecliptic to the equator (the orbit turned by R1(-eps0)).
void ECLEQU(ElementSet& set);

// EQUECL: i, omega, Omega from the equator to the ecliptic (the orbit turned by R1(eps0)).
void EQUECL(ElementSet& set);

}  // namespace astro
