// SPDX-License-Identifier: MIT
// Constants and steps shared by the two-position and three-observation orbit determinations
// (not part of the public interface).
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

#include "core/constants.hpp"

namespace astro::orbit_detail {

// Light time, days per astronomical unit: emission time = observation time - this * rho.
inline constexpr double kLightTime = 0.005706;
// Every test of smallness and convergence.
inline constexpr double kTolerance = 1e-13;
// Coefficient of the continued fraction for the ratio of sector to triangle, 11/9.
inline constexpr double kElevenNinths = 1.2222222222222223;
// Bound on the continued-fraction repetitions, far beyond what any orbit in the domain needs.
inline constexpr long kFractionPasses = 100000;

// The quantity h of the sector-to-triangle relation for two heliocentric positions of lengths
// r1, r2 whose scalar product added to r1 r2 is sum, and a reduced interval tau:
// kappa = sqrt(2 sum), h = tau^2 / (kappa^2 ((r1 + r2) / 2 + kappa / 3)).
inline double sector_h(double sum, double r1, double r2, double tau) {
  const double kappa = std::sqrt(2 * sum);
  return tau * tau / (kappa * kappa * ((r1 + r2) / 2 + kappa / 3));
}

// Ratios of sector to triangle eta = 1 + ten_ninths h / z, z from the continued fractions
// z <- 1 + (11/9) h / z started at 1 and repeated for all entries together until every
// change is below 1e-13. Stops at once when a change is NaN, and after kFractionPasses
// repetitions otherwise (no h >= 0 of a domain orbit comes near it).
template <std::size_t N>
std::array<double, N> sector_ratios(const std::array<double, N>& h, double ten_ninths) {
  std::array<double, N> z;
  z.fill(1.0);
  for (long pass = 0; pass < kFractionPasses; ++pass) {
    bool settled = true;
    bool undefined = false;
    for (std::size_t j = 0; j < N; ++j) {
      const double next = 1 + kElevenNinths * h[j] / z[j];
      const double change = std::fabs(next - z[j]);
      z[j] = next;
      if (std::isnan(change)) undefined = true;
      if (change >= kTolerance) settled = false;
    }
    if (settled || undefined) break;
  }
  std::array<double, N> eta;
  for (std::size_t j = 0; j < N; ++j) eta[j] = 1 + ten_ninths * h[j] / z[j];
  return eta;
}

// Mean anomaly of the true anomaly nu on an orbit of signed eccentricity es (|es| < 1):
// E = 2 atan(tan(nu / 2) sqrt((1 - es) / (1 + es))) by the plain arc tangent, M = E - es sin E.
inline double mean_anomaly(double nu, double es) {
  const double E = 2 * std::atan(std::tan(nu / 2) * std::sqrt((1 - es) / (1 + es)));
  return E - es * std::sin(E);
}

}  // namespace astro::orbit_detail
