// SPDX-License-Identifier: MIT
// Position and velocity from orbital elements, and osculating elements from a state vector.
//
// Heliocentric two-body motion. Positions in astronomical units, velocities in astronomical
// units per day, both in the frame of the elements (the frame in which i and the node are
// measured, normally the ecliptic). The two routines use slightly different gravitational
// constants on purpose (see each); they agree to about fifteen digits.
#pragma once

#include "core/types.hpp"

namespace astro {

// PV: position and velocity of a body on an elliptic orbit at the instant of the set's M.
//   elements  a (AU), e, i, peri, node, M (radians), element:: indices
//   position  written, AU
//   velocity  written, AU/day
// Gravitational constant k = 0.017202098902128322, the square root of the single-precision
// square of 0.01720209895; the body's own mass is neglected. E from EKEPL1(M, e).
// Domain: a > 0 and 0 <= e < 1, finite angles. Outside it (e >= 1, a <= 0, NaN) the square
// roots have no real value and the components come out NaN; nothing is checked.
void PV(const ElementSet& elements, Vector3& position, Vector3& velocity);

// E1: osculating elliptic elements from a heliocentric state vector.
//   position  AU;  velocity  AU/day, same frame
//   elements  written: a, e, i, peri, node, M, with M at the instant of the state
//   mass      added to the Sun's gravitational parameter, AU^3/day^2; 0 for a massless body
// mu = k^2 + mass with k^2 = 0.000295912206638604. peri, node and M lie in [0, 6.283185307),
// reduced with the program's turn by NULA2PI: an angle (the node, the true anomaly) whose arc
// tangent is negative comes out 1.8e-10 rad below the true one, and M inherits that through
// the true anomaly (up to (1 + e)^1.5 / sqrt(1 - e) times as much) and its own reduction.
// i comes from a plain arc tangent, so it lies in (0, pi/2) in the domain.
// Domain: a direct elliptic orbit in an inclined plane: 2/r > v^2/mu, p <= a, hz > 0 and the
// orbit normal not along the pole. Outside it the routine returns what IEEE arithmetic gives:
// a retrograde state yields a negative inclination and an argument of perihelion that does
// not describe the orbit; a hyperbolic or parabolic state gives a negative or infinite a, an
// e of 1 or more and a NaN or meaningless M; a circular state whose rounding makes p/a exceed
// 1 gives NaN in e and M; an orbit in the reference plane gives a NaN or meaningless node and
// perihelion; NaN input gives NaN.
void E1(const Vector3& position, const Vector3& velocity, ElementSet& elements, double mass);

}  // namespace astro
