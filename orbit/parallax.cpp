// SPDX-License-Identifier: MIT
#include "orbit/parallax.hpp"

#include <cmath>

#include "core/constants.hpp"
#include "orbit/angles.hpp"
#include "orbit/site.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Square of the eccentricity of the Earth's meridian ellipse (2f - f^2, f = 0.003352329869).
constexpr double kEarthEccentricitySquared = 0.00669342162244941;
// Equatorial radius of the Earth, metres.
constexpr double kEarthRadius = 6378140.0;
// Solar parallax, radians (8.80"); its sine is the equatorial radius in astronomical units.
constexpr double kSolarParallax = 4.266360382749199e-05;

}  // namespace

void PARCOR(double jd, Vector3& correction) {
  const double phi = observing_site.latitude;
  const double height = observing_site.height;

  double gmst0 = 0, gmst = 0, lst = 0;
  LST(jd, observing_site.longitude * kRadToDegFiles, gmst0, gmst, lst);
  const double theta = orbit_detail::reduce_turn(lst / 12.0 * kPi);

  const double e = std::sqrt(kEarthEccentricitySquared);
  const double s = std::sin(phi);
  const double root = std::sqrt(1 - (e * e) * (s * s));
  const double C = 1 / root;
  const double S = (1 - e * e) / root;
  const double h = height / kEarthRadius;

  const double phi_geocentric = std::atan(std::tan(phi) * ((h + S) / (h + C)));
  const double rho = ((h + C) * std::cos(phi_geocentric)) / std::cos(phi);

  const double sin_pi0 = std::sin(kSolarParallax);
  const double X = -(rho * (std::cos(phi) * sin_pi0));
  const double Z = -((std::sin(phi) * sin_pi0) * rho);
  correction = {X * std::cos(theta), X * std::sin(theta), Z};
}

}  // namespace astro
