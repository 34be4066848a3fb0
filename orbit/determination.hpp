// SPDX-License-Identifier: MIT
// Preliminary heliocentric orbits from two geocentric positions and from three observations.
//
// Both routines take directions in one equatorial frame together with the Sun's geocentric
// equatorial rectangular coordinates (astronomical units) at each observation time, turn the
// heliocentric positions to the ecliptic by the fixed obliquity 0.409099609 rad, and return
// an ElementSet a (AU), e, i, peri, node, M (radians) whose mean anomaly refers to the epoch
// observing_site.epoch (read afresh at every call). Light time: the body's position belongs
// to the emission time t = T - 0.005706 rho (days, rho in AU). Time intervals are reduced
// with k = 0.01720209895. The ratio of sector to triangle comes from the continued fraction
// z <- 1 + (11/9) h / z, ended when it changes by less than 1e-13 (at most 100,000
// repetitions, and at once when the change is NaN).
//
// The mean motion is divided by the difference of the observation times themselves while the
// mean anomaly is carried to the epoch from the emission time of the first observation, so M
// differs from the body's by about n (T0 - t1) ((t_last - t1) / (T_last - T1) - 1).
//
// Outside the domain stated for each routine the results are what IEEE arithmetic gives
// (NaN or infinities); the routines never hang or crash. Angles that are not finite are not
// reduced (NaN is stored). An epoch so far from the observations that |M| passes about
// 1.35e10 rad raises RangeError from NULA2PI when the signed eccentricity is negative.
#pragma once

#include <cstdint>
#include <iostream>
#include <span>

#include "core/types.hpp"

namespace astro {

// E2: elliptic orbit from two complete geocentric positions.
//   times            observation instants T1 < T2, Julian Date
//   distances        geocentric distances rho, AU
//   right_ascension  alpha, radians;  declination  delta, radians
//   sun_x, sun_y, sun_z  the Sun's geocentric equatorial coordinates at each time, AU
//   elements         written: a, |es|, i, peri, node, M (ecliptic; M at the epoch, not
//                    reduced unless es < 0)
// The signed eccentricity es comes out negative when the first position lies more than 90
// degrees of true anomaly from perihelion; then peri and M are turned by the program's pi
// and reduced to one turn. The continued fraction's 10/9 is the double 1.1111111111111112.
// Domain: heliocentric positions less than 90 degrees apart and not parallel, direct motion
// (0 <= i <= 90 degrees), an elliptic result (|es| < 1), and mean anomalies that do not pass
// +-pi between the two observations (the anomalies computed with a negative es are the
// body's less pi, so then the body's M must not pass 0). Two equal times give NaN a, e, peri and M; arc
// sine arguments are clamped to [-1, 1].
void E2(std::span<const double, 2> times, std::span<const double, 2> distances,
        std::span<const double, 2> right_ascension, std::span<const double, 2> declination,
        std::span<const double, 2> sun_x, std::span<const double, 2> sun_y,
        std::span<const double, 2> sun_z, ElementSet& elements);

// E3: preliminary elliptic orbit from three observations by the method of Gauss.
//   times            observation instants T1 < T2 < T3, Julian Date
//   right_ascension  alpha, radians;  declination  delta, radians (geocentric directions:
//                    no correction for the observer's place is applied)
//   sun_x, sun_y, sun_z  the Sun's geocentric equatorial coordinates at each time, AU
//   elements         written: a, |es|, i, peri, node, M (ecliptic; M at the epoch, not
//                    reduced unless es < 0)
//   out              receives the messages, each a blank column and the text on one line
// A first approximation of the middle distance from the sector-triangle series (one sixth
// and 10/9 at single precision: 0.1666666716337204 and 1.1111111640930176), then passes that
// refine the three distances with light-time corrected times and exact sector ratios until
// the triangle ratios n1, n3 change by less than 1e-13; elements from the first and third
// positions. The constant A* of the middle-distance equation is formed once from the
// observation times and kept through all passes while the passes use light-time corrected
// intervals, so the result is less accurate than the iteration could make it: errors from
// 1e-7 to a few 1e-3 depending on how the geocentric distance changes over the arc, where an
// A* refreshed every pass would leave a few 1e-6.
// Messages, after each of which the computation goes on with the same formulas:
//   " The orbit must be determined by four observations."    when |D| < 1e-13 (coplanar
//                                                             directions)
//   " Observations does not correspond with circular orbit." when the middle distance comes
//                                                             out negative (once per pass)
//   " Impossible to derivate eliptical elements."            when |es| > 1
// Bounds: Newton's iteration for the middle distance and the passes stop after 1,000
// repetitions each, and at once when a change is NaN; the last values are then used.
// Domain: a direct elliptic orbit whose peri and node are not multiples of pi (the
// inclination divides by their sines), and mean anomalies that do not pass +-pi between the
// first and third observation (with a negative es: the body's M must not pass 0). A retrograde orbit comes out with a negative inclination
// (i - pi). After a message the elements may be NaN. MAX chooses by signed value: when
// L3 x L1 (or L3) has no clearly positive component it can name a vanishing one, and the
// elements are then meaningless or NaN (for example a third direction at the pole with the
// first in the quadrant x < 0 < y, where L3 x L1 = (-L1y, L1x, ~0)).
void E3(std::span<const double, 3> times, std::span<const double, 3> right_ascension,
        std::span<const double, 3> declination, std::span<const double, 3> sun_x,
        std::span<const double, 3> sun_y, std::span<const double, 3> sun_z,
        ElementSet& elements, std::ostream& out = std::cout);

// What a preliminary orbit met on its way, one flag for each failure E3 reports in words.
//   coplanar_directions       E3: |D| < 1e-13, the three directions lie in one plane
//                             (" The orbit must be determined by four observations.")
//   negative_middle_distance  E3: a pass found a negative middle distance
//                             (" Observations does not correspond with circular orbit.")
//   not_elliptic              E3: |es| > 1 (" Impossible to derivate eliptical elements.");
//                             E2: |es| >= 1 or NaN (E2 writes no message)
// The computation goes on after each, as the printing routines do; the elements are then
// what the formulas give, possibly NaN.
struct OrbitStatus {
  bool coplanar_directions = false;
  bool negative_middle_distance = false;
  bool not_elliptic = false;
  bool ok() const { return !coplanar_directions && !negative_middle_distance && !not_elliptic; }
};

// A preliminary orbit: the elements a (AU), e, i, peri, node, M (radians, J2000.0
// ecliptic as turned by 0.409099609 rad; M at the epoch asked for), what was met, and
// for E3 the passes of its refinement (1 to 1,000; 0 for E2).
struct PreliminaryOrbit {
  ElementSet elements;
  OrbitStatus status;
  std::int32_t passes = 0;
};

// E2's orbit, reported instead of left to the caller to judge: the same computation with
// the epoch as an argument (Julian Date of M) in place of observing_site.epoch, and the
// Sun's geocentric equatorial position at each time as one vector (AU).
PreliminaryOrbit orbit_from_two_positions(std::span<const double, 2> times,
                                          std::span<const double, 2> distances,
                                          std::span<const double, 2> right_ascension,
                                          std::span<const double, 2> declination,
                                          std::span<const Vector3, 2> sun, double epoch);

// E3's orbit, reported instead of printed: the same computation, bit for bit, with the
// epoch as an argument (Julian Date of M) in place of observing_site.epoch, the Sun's
// geocentric equatorial position at each time as one vector (AU, e.g. sun_equatorial_j2000),
// and no message written: status says what E3 would have written.
PreliminaryOrbit orbit_from_three_observations(std::span<const double, 3> times,
                                               std::span<const double, 3> right_ascension,
                                               std::span<const double, 3> declination,
                                               std::span<const Vector3, 3> sun, double epoch);


}  // namespace astro
