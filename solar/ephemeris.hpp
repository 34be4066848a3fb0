// SPDX-License-Identifier: MIT
// Heliocentric position from the orbital elements of an ellipse.
#pragma once

#include "core/types.hpp"

namespace astro {

// EPH: position at the instant of the set's mean anomaly.
//   set       a (any length unit), e in [0, 1), i, omega, Omega, M (radians, M not reduced)
//   position  written: the position in the unit of a, in the frame of the elements (for
//             ELMTS_PLANET: ecliptic and equinox of J2000.0, x to the equinox, z to the pole)
// E from KEPLER; the orbital-plane vector ((cos E - e) a, sin E sqrt(1 - e^2) a, 0) is turned
// by R3(-Omega) R1(-i) R3(-omega). Its length is a (1 - e cos E).
// Throws RangeError for an eccentricity of 1 or more, or NaN (the Earth's elements reach 1
// about 150,000 years from J2000.0); the position is then left untouched.
void EPH(const ElementSet& set, Vector3& position);

}  // namespace astro
