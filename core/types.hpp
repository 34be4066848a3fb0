// SPDX-License-Identifier: MIT
// The vector and element types that the solar, orbit and catalogue routines exchange.
#pragma once

#include <array>
#include <cstddef>

namespace astro {

// Cartesian vector (x, y, z) of a right-handed frame, in the unit of the quantity carried
// (astronomical units for positions). Component z points to the pole of the frame's
// fundamental plane, x to its origin of longitude.
using Vector3 = std::array<double, 3>;

// Orbital elements of an ellipse, indexed by the names in namespace element:
//   a     semi-major axis, astronomical units
//   e     eccentricity
//   i     inclination, radians
//   peri  argument of perihelion (omega), radians
//   node  longitude of the ascending node (Omega), radians
//   M     mean anomaly at the set's reference instant, radians (each producer states it)
using ElementSet = std::array<double, 6>;

namespace element {
inline constexpr std::size_t a = 0;
inline constexpr std::size_t e = 1;
inline constexpr std::size_t i = 2;
inline constexpr std::size_t peri = 3;
inline constexpr std::size_t node = 4;
inline constexpr std::size_t M = 5;
}  // namespace element

}  // namespace astro
