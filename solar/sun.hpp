// SPDX-License-Identifier: MIT
// The Sun's horizontal, equatorial and ecliptic coordinates for one instant and one site.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/types.hpp"

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

// An observing site on the Earth.
//   latitude   geodetic latitude, radians, north positive, [-pi/2, pi/2]
//   longitude  radians, east positive
//   height     metres above sea level; the Sun's position does not depend on it (no
//              parallax is applied), the Sun's events use it for the dip of the horizon
struct Site {
  double latitude;
  double longitude;
  double height = 0;
};

// Which corrections the Sun's position carries, and the air for refraction.
//   precession     refer the position from J2000.0 to the mean equator and equinox of the date
//   nutation       go on to the true equator and equinox of the date
//   refraction     add REFRAKCE to a positive height
//   pressure_hpa   air pressure, hectopascals (millibars), handed to REFRAKCE as it stands
//   temperature_c  air temperature, degrees Celsius, handed to REFRAKCE as it stands
// The defaults are the values REFRAKCE takes for its default markers, so the default options
// give RIZAR's results with all three switches on.
struct SunOptions {
  bool precession = true;
  bool nutation = true;
  bool refraction = true;
  double pressure_hpa = 1013.25;
  double temperature_c = 10.0;
};

// The Sun seen from a site at one instant; radians unless stated.
//   azimuth             from the north point through the east, [0, 2 pi)
//   azimuth_south       from the south point through the west, RIZAR's AZ, [0, 6.283185307]
//   height              above the horizon, refraction included when switched on
//   right_ascension     [0, 6.283185307], declination [-pi/2, pi/2]: equator and equinox of
//                       the date with precession (and nutation), else of J2000.0 turned by the
//                       mean obliquity of the date (as RIZAR)
//   hour_angle          westward, local mean sidereal time minus right ascension
//   ecliptic_longitude  [0, 6.283185307], ecliptic_latitude: geocentric, geometric
//   distance            Sun-Earth distance, astronomical units
struct SunPosition {
  double azimuth;
  double azimuth_south;
  double height;
  double right_ascension;
  double declination;
  double hour_angle;
  double ecliptic_longitude;
  double ecliptic_latitude;
  double distance;
};

// The Sun's position for a site at an instant: RIZAR's chain (every angle equals RIZAR's
// bit for bit with the default options) with the distance and a north-based azimuth beside.
//   jd_ut    Julian Date, UT; also the dynamical time of the series, as in RIZAR
// The north-based azimuth is azimuth_south turned by the program's pi (3.1415926535).
// Throws RangeError where RIZAR does (NaN, an instant the sidereal time or the ephemeris
// cannot place).
SunPosition sun_position(double jd_ut, const Site& site, const SunOptions& options = {});

// sun_position at every instant of jd_ut, into out[k] for jd_ut[k]; bit for bit the same
// as the calls one by one. Throws std::invalid_argument when out is shorter than jd_ut, and
// RangeError at the first instant out of range (the entries before it are written).
void sun_positions(std::span<const double> jd_ut, const Site& site, const SunOptions& options,
                   std::span<SunPosition> out);

// The same on several threads: jd_ut is cut into chunks of kMinInstantsPerThread instants
// that the threads take in turn, the next free thread the next chunk, each computed by
// sun_position, so every entry is bit for bit what the one-thread call gives.
//   threads  0: the machine's hardware threads; 1: the calling thread alone. Fewer threads
//            are used when each would get under kMinInstantsPerThread instants (a thread
//            costs more to start than so few instants take).
// Throws std::invalid_argument when out is shorter than jd_ut. When instants are out of
// range it throws the RangeError of the first of them, after every thread has ended; the
// entries before that instant are written, and so may be some after it.
void sun_positions(std::span<const double> jd_ut, const Site& site, const SunOptions& options,
                   std::span<SunPosition> out, unsigned threads);

// The chunk of instants a thread takes at a time, and the least worth a thread of its own
// (about a millisecond of work).
inline constexpr std::size_t kMinInstantsPerThread = 1024;

// The Sun's geocentric rectangular coordinates, astronomical units, on the mean equator and
// equinox of J2000.0, as E3 takes them: the Earth's heliocentric ecliptic position from
// ELMTS_PLANET and EPH, negated, turned by the mean obliquity of J2000.0, EPS_EARTH(0).
//   jd  Julian Date (the series' time argument)
Vector3 sun_equatorial_j2000(double jd);

}  // namespace astro
