// SPDX-License-Identifier: MIT
// The program's constants, each named once. Printed digits depend on these exact values.
#pragma once

namespace astro {

// The program's pi, truncated on purpose: the whole chain uses this value, not the full
// double of pi, and printed digits depend on it.
inline constexpr double kPi = 3.1415926535;

// One full turn as the angle helpers reduce to it: 2 * 3.1415926535 written out.
inline constexpr double kTwoPi = 6.283185307;

// Degrees to radians in the driver's chain, the field readers and refraction:
// 3.1415926535 / 180 as a double.
inline constexpr double kDegToRad = 0.017453292519444445;

// Radians to degrees for the echo, the table and refraction: 180 / 3.1415926535 as a double.
inline constexpr double kRadToDeg = 57.29577951471995;

// Arcseconds to radians in the obliquity, precession and nutation series.
inline constexpr double kArcsecToRad = 4.848136811e-06;

// Degrees to radians of the file readers, as the record layouts write it (short decimal).
inline constexpr double kDegToRadFiles = 0.017453292;

// Radians to degrees of the parallax correction, as written there (short decimal).
inline constexpr double kRadToDegFiles = 57.29577951;

// J2000.0 as a Julian Date, the origin of the series' time argument T and of the catalogue's
// mean anomalies, and the days of a Julian century: T = (jd - kJ2000) / kDaysPerCentury.
inline constexpr double kJ2000 = 2451545.0;
inline constexpr double kDaysPerCentury = 36525.0;

// Obliquity of the fixed turn between ecliptic and equator in ECLEQU and EQUECL: the
// single-precision 0.4090996 widened to double (not EPS_EARTH).
inline constexpr double kObliquityElementFrames = 0.40909960865974426;

// Obliquity of the fixed equatorial-to-ecliptic turn of the orbit determinations E2 and E3,
// radians, as written there (1.4 arcseconds from EPS_EARTH(0)).
inline constexpr double kObliquityOrbits = 0.409099609;

// Gaussian gravitational constant k, radians per day (mean motion n = k a^-1.5), as the
// element decoder and the orbit determinations use it. The state-vector routines use
// values of their own (see orbit/state_vector.hpp).
inline constexpr double kGaussK = 0.01720209895;

}  // namespace astro
