// SPDX-License-Identifier: MIT
// Orientation of the Earth's equator and equinox: mean obliquity, precession, nutation.
//
// Time arguments are Julian centuries of 36525 days from JD 2451545.0. The series are
// evaluated in arcseconds and converted with 4.848136811e-06 rad per arcsecond; the
// obliquity is built in degrees and converted with 3.1415926535 / 180. Vectors are
// equatorial (x to the equinox, z to the celestial pole) and are changed in place.
#pragma once

#include "core/types.hpp"

namespace astro {

// EPS_EARTH: mean obliquity of the ecliptic at T, radians.
//   T  Julian centuries from J2000.0
//   returns (23 deg 26' s") with s = 21.448 - 46.815 T - 0.00059 T^2 + 0.001813 T^3
//   (0.40909280421064 at T = 0).
double EPS_EARTH(double T);

// PRECES_ANGLE: the three equatorial precession angles between two epochs.
//   T0           starting epoch, Julian centuries from J2000.0
//   t            interval from the starting to the final epoch, Julian centuries
//   zeta, z, theta  written: radians; all three are 0 for t = 0
void PRECES_ANGLE(double T0, double t, double& zeta, double& z, double& theta);

// PRECES: v <- R3(-z) R2(theta) R3(-zeta) v, the equatorial vector referred from the
// starting to the final epoch of PRECES_ANGLE.
void PRECES(Vector3& v, double zeta, double z, double theta);

// NUTATE_ANGLE: nutation in longitude and in obliquity from a nine-term series.
//   T     Julian centuries from J2000.0
//   dpsi  written: nutation in longitude, radians, |dpsi| <= 19.29"
//   deps  written: nutation in obliquity, radians, |deps| <= 10.02"
// Fundamental arguments and amplitudes are single-precision values widened to double.
void NUTATE_ANGLE(double T, double& dpsi, double& deps);

// NUTATE: v <- R1(-(eps + deps)) R3(-dpsi) R1(eps) v, from the mean to the true equator and
// equinox of the date.
//   eps         mean obliquity, radians (EPS_EARTH)
//   dpsi, deps  nutation angles, radians (NUTATE_ANGLE)
void NUTATE(Vector3& v, double eps, double dpsi, double deps);

}  // namespace astro
