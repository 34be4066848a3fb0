// SPDX-License-Identifier: MIT
// Numeric and angle helpers, Julian Date and calendar date, sidereal time.
//
// All angles are radians unless a routine says degrees or hours. Julian Dates are days in
// the caller's time scale (the program works in Universal Time).
#pragma once

#include <cstdint>

#include "core/errors.hpp"

namespace astro {

// SGN: three-valued sign, +1.0 for x > 0, -1.0 for x < 0, 0.0 for either zero (and NaN).
double SGN(double x);

// MAX: which of a, b, c is the largest, 1, 2 or 3. Comparisons are strict, so on a tie the
// later argument wins: MAX(5, 5, 1) = 2, MAX(5, 1, 5) = 3, equal arguments give 3.
std::int32_t MAX(double a, double b, double c);

// NULA2PI: angle reduced to one turn of 6.283185307.
//   x        radians, |x| below about 1.35e10
//   returns  radians in [0, 6.283185307]; the upper end only for a tiny negative x whose
//            sum with the turn rounds to it. NaN gives NaN; throws RangeError beyond range.
double NULA2PI(double x);

// HHMS: decimal hours split into whole hours, whole minutes and seconds with their fraction.
//   h           decimal hours, |h| < 2147483648
//   hh, mm, ss  written: INT(h), INT((h - hh) * 60), (h - hh) * 3600 - mm * 60
// Seconds are not rounded (23.9999999 h gives 23, 59, 59.99964); a negative h gives parts
// that are all zero or negative (-1.5 h gives -1, -30, 0).
void HHMS(double h, double& hh, double& mm, double& ss);

// HMSH: (ss / 3600 + mm / 60) + hh, the parts added as they stand (HMSH(-1, 30, 0) = -0.5).
double HMSH(double hh, double mm, double ss);

// FRAC: x - INT(x), the sign of x, magnitude below 1. The difference is exact (x and INT(x)
// are whole multiples of the last place of x), so it is the extended-precision one too.
//   x        |x| < 2147483648; NaN gives NaN, anything else out of range throws RangeError
double FRAC(double x);

// JD: Julian Date of a calendar date.
//   year     astronomical numbering (0 is 1 BC)
//   month    1..12 (<= 2 counts as month + 12 of the year before; compared as a double)
//   day      day of the month with the time of day as a fraction (1.5 is the 1st at 12h)
//   returns  ((FLOOR(365.25 y) + INT(30.6001f (m + 1))) + day) + 1720994.5, then the
//            Gregorian correction from 1582 October 16 on (an integer day above 15); every
//            earlier date, 1582 October 15 included, is read in the Julian calendar.
// The year term goes down for negative y (JD(-4712, 1, 1.5) = 0), so OD inverts JD on
// every day from -4712 on; the month term is truncated. 30.6001 is used at single
// precision. Days outside the month shift the result. Throws RangeError when 365.25 y or
// another truncation leaves the 32-bit range, or when the 32-bit sum of the two terms does.
double JD(double year, double month, double day);

// OD: calendar date of a Julian Date, the inverse of JD.
//   jd                 days, |jd + 0.5| < 2147483648
//   year, month, day   written; day carries the time of day as a fraction
// Gregorian dates are produced from jd 2299162.5 (1582 October 17, 0h) on.
void OD(double jd, double& year, double& month, double& day);

// LST: mean sidereal times at Greenwich and at a site.
//   jd      Julian Date, UT (jd >= -0.5)
//   londeg  site longitude, degrees, east positive
//   gmst0   written: Greenwich mean sidereal time at the 0h UT that begins the day, hours,
//           in [0, 24)
//   gmst    written: Greenwich mean sidereal time at jd, hours, not reduced (0 to ~48.07)
//   lst     written: gmst + londeg / 15, hours, not reduced (negative for the far west)
// The polynomial uses single-precision coefficients widened to double.
void LST(double jd, double londeg, double& gmst0, double& gmst, double& lst);

// UT1: Universal Time of the day from a local sidereal time.
//   lst   local sidereal time, hours
//   t     Julian centuries of the instant from JD 2451545.0
//   dpsi  nutation in longitude, radians
//   eps   obliquity of the ecliptic, radians
//   lon   site longitude, radians, east positive
//   returns UT in hours, not reduced (below 0 or above 24 when the day wraps)
// The 0h is that of the instant's own day, before JD 2451544.5 as after it: the day count
// INT(t 36525 + 0.5) is floored, within the 32-bit range.
double UT1(double lst, double t, double dpsi, double eps, double lon);

}  // namespace astro
