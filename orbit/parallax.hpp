// SPDX-License-Identifier: MIT
// Topocentric parallax: the vector from the observing site to the Earth's centre.
#pragma once

#include "core/types.hpp"

namespace astro {

// PARCOR: vector from the site in observing_site to the Earth's centre at one instant, in
// astronomical units, equatorial frame of date (x toward the equinox as LST defines it, z
// toward the north celestial pole). Add it to a geocentric position to get the topocentric one.
//   jd          Julian Date, UT
//   correction  written: -sin(pi0) * rho * (cos phi cos theta, cos phi sin theta, sin phi)
// Reads longitude, geodetic latitude phi and height H of observing_site at every call.
// theta is the local sidereal time of LST (longitude handed over in degrees, times
// 57.29577951), turned to radians with the program's pi and reduced to one turn. Ellipsoid
// of equatorial radius 6378140 m and e^2 = 0.00669342162244941; pi0 = 4.266360382749199e-05
// rad (8.80"), so the length is about 4.27e-5 AU.
// Deliberate quirk: the direction uses the geodetic latitude phi, and the length
// rho = (h + C) cos phi' / cos phi (h = H in equatorial radii, phi' the geocentric latitude).
// The textbook site vector (rho cos phi' = (C + h) cos phi, rho sin phi' = (S + h) sin phi)
// differs from this by tens of kilometres at mid latitudes (about 40 km in length and 20 km
// in direction at 45 degrees); callers get this routine's vector, not the textbook one.
// Domain: jd within LST's range; |latitude| < pi/2 (the poles, not representable, stay
// finite), finite longitude and height. NaN or infinite jd, latitude, longitude or height
// give NaN components. An instant or a longitude so large that sidereal time leaves the
// range of the 32-bit truncations (jd some 7e11 days away, |longitude| beyond ~1e10 rad)
// raises RangeError, as LST and NULA2PI do.
void PARCOR(double jd, Vector3& correction);

}  // namespace astro
