// SPDX-License-Identifier: MIT
// Orbit from two geocentric positions by the ratio of sector to triangle.
#include <array>
#include <cmath>

#include "core/constants.hpp"
#include "core/math.hpp"
#include "orbit/angles.hpp"
#include "orbit/determination.hpp"
#include "orbit/gauss.hpp"
#include "orbit/site.hpp"

namespace astro {

namespace {

// 10/9 of the sector ratio, as a full double here.
constexpr double kTenNinths = 1.1111111111111112;

// The method itself, with the epoch of M as an argument.
PreliminaryOrbit sector_method(std::span<const double, 2> times,
                               std::span<const double, 2> distances,
                               std::span<const double, 2> right_ascension,
                               std::span<const double, 2> declination,
                               std::span<const double, 2> sun_x, std::span<const double, 2> sun_y,
                               std::span<const double, 2> sun_z, double epoch) {
  using namespace orbit_detail;
  const double ce = std::cos(kObliquityOrbits);
  const double se = std::sin(kObliquityOrbits);

  // Heliocentric ecliptic positions and the emission times.
  double x[2], y[2], z[2], r[2], t[2];
  for (int j = 0; j < 2; ++j) {
    const double rho = distances[j];
    const double cd = std::cos(declination[j]);
    const double xq = rho * cd * std::cos(right_ascension[j]) - sun_x[j];
    const double yq = rho * cd * std::sin(right_ascension[j]) - sun_y[j];
    const double zq = rho * std::sin(declination[j]) - sun_z[j];
    x[j] = xq;
    y[j] = yq * ce + zq * se;
    z[j] = zq * ce - yq * se;
    r[j] = std::sqrt(x[j] * x[j] + y[j] * y[j] + z[j] * z[j]);
    t[j] = times[j] - kLightTime * rho;
  }
  const double tau = kGaussK * (t[1] - t[0]);

  // Unit normal of the orbit times the sine of the angle between the positions; the second
  // component with reversed sign.
  const double rr = r[0] * r[1];
  const double nx = (y[0] * z[1] - y[1] * z[0]) / rr;
  const double ny = (x[0] * z[1] - z[0] * x[1]) / rr;
  const double nz = (x[0] * y[1] - x[1] * y[0]) / rr;
  const double s = std::sqrt(nx * nx + ny * ny + nz * nz);
  const double dnu = asin_clamped(s);
  const double i = asin_clamped(std::sqrt(nx * nx + ny * ny) / s);
  const double node = reduce_turn(std::atan2(nx, ny));

  const double h =
      sector_h(r[0] * r[1] + x[0] * x[1] + y[0] * y[1] + z[0] * z[1], r[0], r[1], tau);
  const double eta = sector_ratios<1>({h}, kTenNinths)[0];
  const double root_p = eta * r[0] * r[1] * s / tau;
  const double p = root_p * root_p;

  // True anomalies and the signed eccentricity.
  const double c1 = p / r[0] - 1;
  const double c2 = p / r[1] - 1;
  const double nu1 = std::atan2(std::cos(dnu) - c2 / c1, s);
  const double nu2 = nu1 + dnu;
  const double es = c1 / std::cos(nu1);
  const double a = p / (1 - es * es);

  const double M1 = mean_anomaly(nu1, es);
  const double M2 = mean_anomaly(nu2, es);
  const double n = (M2 - M1) / (times[1] - times[0]);
  double M = M1 + n * (epoch - t[0]);

  const double u1 = std::atan2(z[0], (x[0] * ny + y[0] * nx) / s);
  double peri = reduce_turn(u1 - nu1);
  if (es < 0) {
    peri = reduce_turn(peri + kPi);
    M = reduce_turn(M + kPi);
  }
  PreliminaryOrbit result;
  result.elements = {a, std::fabs(es), i, peri, node, M};
  result.status.not_elliptic = !(std::fabs(es) < 1);
  return result;
}

}  // namespace

void E2(std::span<const double, 2> times, std::span<const double, 2> distances,
        std::span<const double, 2> right_ascension, std::span<const double, 2> declination,
        std::span<const double, 2> sun_x, std::span<const double, 2> sun_y,
        std::span<const double, 2> sun_z, ElementSet& elements) {
  elements = sector_method(times, distances, right_ascension, declination, sun_x, sun_y, sun_z,
                           observing_site.epoch)
                 .elements;
}

PreliminaryOrbit orbit_from_two_positions(std::span<const double, 2> times,
                                          std::span<const double, 2> distances,
                                          std::span<const double, 2> right_ascension,
                                          std::span<const double, 2> declination,
                                          std::span<const Vector3, 2> sun, double epoch) {
  const std::array<double, 2> x = {sun[0][0], sun[1][0]};
  const std::array<double, 2> y = {sun[0][1], sun[1][1]};
  const std::array<double, 2> z = {sun[0][2], sun[1][2]};
  return sector_method(times, distances, right_ascension, declination, x, y, z, epoch);
}

}  // namespace astro
