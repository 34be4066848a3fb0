// SPDX-License-Identifier: MIT
#include "solar/sun.hpp"

#include <algorithm>
#include <cmath>

#include "solar/elements.hpp"
#include "solar/ephemeris.hpp"
#include "solar/orientation.hpp"
#include "solar/refraction.hpp"
#include "solar/rotation.hpp"
#include "solar/types.hpp"
#include "timeutil/constants.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Right angle for the co-latitude of the site, written out as 1.57079632675: half the
// program's pi (the same double as kPi / 2), not the full-precision pi / 2.
constexpr double kRightAngle = 1.57079632675;

constexpr std::int32_t kEarth = 3;
constexpr std::int32_t kOn = 1;

// Pressure and temperature arguments that make REFRAKCE use its defaults.
constexpr double kDefaultPressure = -1.0;
constexpr double kDefaultTemperature = -274.0;

double arcsin_clamped(double x) { return std::asin(std::clamp(x, -1.0, 1.0)); }

}  // namespace

void RIZAR(double jd, double lambda, double phi, std::int32_t precession,
           std::int32_t nutation, std::int32_t refraction, double& AZ, double& HT,
           double& RA, double& DE, double& HA, double& HeLong, double& HeLat) {
  const double T = (jd - 2451545.0) / 36525;

  ElementSet earth;
  ELMTS_PLANET(kEarth, T, earth);
  Vector3 X, Y;
  EPH(earth, X);
  const double r = std::sqrt(X[0] * X[0] + X[1] * X[1] + X[2] * X[2]);
  X = {-X[0], -X[1], -X[2]};  // geocentric Sun, ecliptic of J2000.0

  const double eps = EPS_EARTH(T);
  const double minus_eps = -eps;
  ROTAT1(X, Y, minus_eps);  // equatorial
  if (precession == kOn) {
    double zeta, z, theta;
    PRECES_ANGLE(0.0, T, zeta, z, theta);
    PRECES(Y, zeta, z, theta);
  }
  if (nutation == kOn) {
    double dpsi, deps;
    NUTATE_ANGLE(T, dpsi, deps);
    NUTATE(Y, eps, dpsi, deps);
  }
  RA = NULA2PI(std::atan2(Y[1], Y[0]));
  DE = arcsin_clamped(Y[2] / r);

  if (nutation == kOn || precession == kOn) ROTAT1(Y, X, eps);  // back to the ecliptic
  HeLong = NULA2PI(std::atan2(X[1], X[0]));
  HeLat = arcsin_clamped(X[2] / r);

  double gmst0, gmst, lst;
  LST(jd, lambda / kDegToRad, gmst0, gmst, lst);
  const double sidereal = lst * kPi / 12;
  ROTAT3(Y, X, sidereal);  // hour-angle frame, x toward the meridian
  HA = NULA2PI(-std::atan2(X[1], X[0]));

  const double colatitude = kRightAngle - phi;
  ROTAT2(X, Y, colatitude);  // horizon frame: x south, y east, z zenith
  AZ = NULA2PI(-std::atan2(Y[1], Y[0]));
  HT = arcsin_clamped(Y[2] / r);
  if (refraction == kOn) HT = HT + REFRAKCE(HT, kDefaultPressure, kDefaultTemperature);
}

}  // namespace astro
