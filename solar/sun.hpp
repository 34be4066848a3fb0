// SPDX-License-Identifier: MIT
// The Sun's horizontal, equatorial and ecliptic coordinates for one instant and one site.
#pragma once

#include <cstdint>

namespace astro {

// RIZAR: geometric geocentric position of the Sun from the Earth's mean elements.
//   jd          Julian Date of the instant; serves both as Universal Time (sidereal time)
//               and as the dynamical time of the series
//   lambda      site longitude, radians, east positive
//   phi         site latitude, radians, north positive
//   precession  1 = refer the position from J2000.0 to the mean equator and equinox of the
//               date; any other value leaves it off
//   nutation    1 = go on to the true equator and equinox of the date; any other value off
//   refraction  1 = add REFRAKCE at 1013.25 mbar and 10 degrees C to a positive height
//   AZ          written: azimuth from the south point through the west (0 south, pi/2 west,
//               pi north, 3 pi/2 east), in [0, 6.283185307]
//   HT          written: height above the horizon, [-pi/2, pi/2] before refraction
//   RA          written: right ascension, [0, 6.283185307]
//   DE          written: declination, [-pi/2, pi/2]
//   HA          written: hour angle, westward, local sidereal time minus RA, [0, 6.283185307]
//   HeLong      written: ecliptic longitude of the Sun, [0, 6.283185307]
//   HeLat       written: ecliptic latitude of the Sun
// Without precession and nutation RA and DE are the J2000.0 ecliptic position turned by the
// mean obliquity of the date only. With either switch the ecliptic coordinates are read
// after turning back by the mean obliquity of the date. Light time, aberration and the
// Sun's parallax are not applied. Arc sine arguments are clamped to [-1, 1].
// Throws RangeError where the sidereal time or the ephemeris cannot place the instant (an
// eccentricity of 1 or more, about 150,000 years from J2000.0; NaN).
void RIZAR(double jd, double lambda, double phi, std::int32_t precession,
           std::int32_t nutation, std::int32_t refraction, double& AZ, double& HT,
           double& RA, double& DE, double& HA, double& HeLong, double& HeLat);

}  // namespace astro
