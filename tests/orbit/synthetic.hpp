// SPDX-License-Identifier: MIT
// Synthetic observations of a body on a known orbit, made the way E2 and E3 read them.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

#include "core/constants.hpp"
#include "orbit/state_vector.hpp"
#include "solar/elements.hpp"
#include "solar/ephemeris.hpp"
#include "solar/rotation.hpp"

namespace astro::synthetic {

// The constants of the orbit determinations: Gaussian constant, light time (days per AU)
// and the obliquity of their fixed equatorial-to-ecliptic rotation.
inline constexpr double kGauss = 0.01720209895;
inline constexpr double kLightTime = 0.005706;
inline constexpr double kObliquity = kObliquityOrbits;

// The Sun's geocentric equatorial coordinates at jd, AU, from the library's solar chain: the
// Earth's mean elements, its heliocentric ecliptic position, negated and turned to the
// equator by kObliquity.
inline Vector3 sun_equatorial(double jd) {
  ElementSet earth;
  ELMTS_PLANET(3, (jd - kJ2000) / kDaysPerCentury, earth);
  Vector3 earth_ecl;
  EPH(earth, earth_ecl);
  const Vector3 sun_ecl = {-earth_ecl[0], -earth_ecl[1], -earth_ecl[2]};
  Vector3 sun_equ;
  ROTAT1(sun_ecl, sun_equ, -kObliquity);
  return sun_equ;
}

// The body's heliocentric equatorial position at t on an orbit whose mean anomaly refers to
// epoch; mean motion k / a^1.5 with the determinations' k.
inline Vector3 body_equatorial(const ElementSet& orbit, double epoch, double t) {
  ElementSet now = orbit;
  now[element::M] = orbit[element::M] + kGauss / std::pow(orbit[element::a], 1.5) * (t - epoch);
  Vector3 ecl, velocity, equ;
  PV(now, ecl, velocity);
  ROTAT1(ecl, equ, -kObliquity);
  return equ;
}

template <std::size_t N>
struct Observations {
  std::array<double, N> times{};        // observation instants T, JD
  std::array<double, N> emission{};     // t = T - kLightTime * rho, JD
  std::array<double, N> distance{};     // rho, AU
  std::array<double, N> ra{}, dec{};    // geocentric direction, radians
  std::array<double, N> sun_x{}, sun_y{}, sun_z{};  // the Sun at T, AU
};

// Observations of the orbit at the given instants: the body is taken at the emission time
// (the light-time equation t = T - kLightTime |r(t) + R(T)| solved by iteration), the Sun at
// the observation time, the direction is that of r(t) + R(T).
template <std::size_t N>
Observations<N> observe(const ElementSet& orbit, double epoch, const std::array<double, N>& times) {
  Observations<N> obs;
  obs.times = times;
  for (std::size_t j = 0; j < N; ++j) {
    const Vector3 sun = sun_equatorial(times[j]);
    double t = times[j];
    Vector3 geo{};
    double rho = 0;
    for (int pass = 0; pass < 20; ++pass) {
      const Vector3 body = body_equatorial(orbit, epoch, t);
      geo = {body[0] + sun[0], body[1] + sun[1], body[2] + sun[2]};
      rho = std::sqrt(geo[0] * geo[0] + geo[1] * geo[1] + geo[2] * geo[2]);
      t = times[j] - kLightTime * rho;
    }
    obs.emission[j] = t;
    obs.distance[j] = rho;
    obs.ra[j] = std::atan2(geo[1], geo[0]);
    obs.dec[j] = std::asin(geo[2] / rho);
    obs.sun_x[j] = sun[0];
    obs.sun_y[j] = sun[1];
    obs.sun_z[j] = sun[2];
  }
  return obs;
}

}  // namespace astro::synthetic
