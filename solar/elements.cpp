// SPDX-License-Identifier: MIT
#include "solar/elements.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/math.hpp"
#include "solar/earth_terms.hpp"

namespace astro {

double LM1(double T) { return 4.4026 + 2608.7903 * T; }
double LM2(double T) { return 3.1761 + 1021.3286 * T; }
double LM3(double T) { return 1.7535 + 628.3076 * T; }
double LM4(double T) { return 6.2035 + 334.0612 * T; }
double LM5(double T) { return 0.5995 + 52.9691 * T; }
double LM6(double T) { return 0.874 + 21.3299 * T; }
double LM7(double T) { return 5.4813 + 7.4782 * T; }
double LM8(double T) { return 5.3119 + 3.8133 * T; }

namespace {

using solar_detail::kEarthTermCount;
using solar_detail::kEarthTerms;

constexpr double kAmplitudeUnit = 1e-7;

// Secular constants: single-precision values widened to double.
constexpr double kA0 = 1.0000009536743164;            // 1.000001f
constexpr double kLambda0 = 1.7534703016281128;       // 1.7534703f
constexpr double kLambda1 = 628.3075561523438;        // 628.30756f
constexpr double kLambda2 = 1.0000000116860974e-07;   // 1e-7f
constexpr double kK0 = -0.003740800078958273;         // -0.0037408f
constexpr double kK1 = 8.230000094044954e-05;         // 8.23e-5f
constexpr double kKH2 = 3.000000106112566e-07;        // 3e-7f, in k and in h
constexpr double kH0 = 0.016284499317407608;          // 0.0162845f
constexpr double kH1 = 6.199999916134402e-05;         // 6.2e-5f

// Below this size k, h, q or p count as zero for the angle they define.
constexpr double kTiny = 1e-38;

// Two-argument arc tangent of (y, x), but 0 when either part is at most kTiny in size.
double angle_or_zero(double y, double x) {
  if (std::fabs(x) <= kTiny || std::fabs(y) <= kTiny) return 0.0;
  return std::atan2(y, x);
}

// The argument of term j: its multiples of the mean longitudes of Venus, the Earth, Mars and
// Jupiter summed in this order, starting from -0 (to which adding x gives exactly x). A zero
// multiple is left out: its product, a zero, leaves a non-zero partial sum as it is, so the
// most it could change is the sign of a zero argument, hence of a zero sine, whose products
// add nothing to the sums.
template <std::size_t j>
double term_argument(const std::array<double, 4>& longitudes) {
  constexpr std::array<double, 4> multiples = kEarthTerms[j].multiples();
  double arg = -0.0;
  [&]<std::size_t... n>(std::index_sequence<n...>) {
    ((multiples[n] != 0 ? void(arg = arg + multiples[n] * longitudes[n]) : void()), ...);
  }(std::make_index_sequence<4>{});
  return arg;
}

// Adds the products of term j's amplitudes with its sine and cosine to the sums of a, lambda,
// k and h, sine before cosine. A zero amplitude is left out: its product is a zero, and a sum
// that starts at +0 never becomes -0, so adding a zero never changes it.
template <std::size_t j>
void add_term(std::array<double, 4>& sum, double sine, double cosine) {
  constexpr std::array<double, 4> sines = kEarthTerms[j].sine_amplitudes();
  constexpr std::array<double, 4> cosines = kEarthTerms[j].cosine_amplitudes();
  [&]<std::size_t... n>(std::index_sequence<n...>) {
    ((sines[n] != 0 ? void(sum[n] = sum[n] + sines[n] * sine) : void()), ...);
    ((cosines[n] != 0 ? void(sum[n] = sum[n] + cosines[n] * cosine) : void()), ...);
  }(std::make_index_sequence<4>{});
}

}  // namespace

void ELMTS_EARTH(double T, double& a, double& lambda, double& k, double& h, double& q,
                 double& p) {
  const std::array<double, 4> longitudes = {LM2(T), LM3(T), LM4(T), LM5(T)};

  // The arguments, then their sines and cosines, then the sums of a, lambda, k and h over the
  // terms in table order, each step unrolled over the table: no value waits through a call.
  using Terms = std::make_index_sequence<kEarthTermCount>;
  std::array<double, kEarthTermCount> args, sines, cosines;
  [&]<std::size_t... j>(std::index_sequence<j...>) {
    ((args[j] = term_argument<j>(longitudes)), ...);
  }(Terms{});
  for (std::size_t j = 0; j < kEarthTermCount; ++j) {
    sines[j] = std::sin(args[j]);
    cosines[j] = std::cos(args[j]);
  }
  std::array<double, 4> sum{};
  [&]<std::size_t... j>(std::index_sequence<j...>) {
    (add_term<j>(sum, sines[j], cosines[j]), ...);
  }(Terms{});

  const double T2 = T * T;
  a = kA0 + kAmplitudeUnit * sum[0];
  lambda = ((kLambda0 + kLambda1 * T) - kLambda2 * T2) + kAmplitudeUnit * sum[1];
  k = ((kK0 - kK1 * T) + kKH2 * T2) + kAmplitudeUnit * sum[2];
  h = ((kH0 - kH1 * T) - kKH2 * T2) + kAmplitudeUnit * sum[3];
  q = -0.0001135 * T + 1e-7 * T2;
  p = 1.02e-5 * T + 5e-7 * T2;
}

void ELMTS_PLANET(std::int32_t planet, double T, ElementSet& set) {
  if (planet != 3) {
    throw std::invalid_argument("ELMTS_PLANET: no element data for planet index " +
                                std::to_string(planet));
  }
  double a, lambda, k, h, q, p;
  ELMTS_EARTH(T, a, lambda, k, h, q, p);

  const double varpi = angle_or_zero(h, k);
  const double node = angle_or_zero(p, q);
  set[element::a] = a;
  set[element::e] = std::sqrt(h * h + k * k);
  set[element::i] = 2 * asin_clamped(std::sqrt(p * p + q * q));
  set[element::node] = node;
  set[element::M] = lambda - varpi;
  set[element::peri] = varpi - node;
}

}  // namespace astro
