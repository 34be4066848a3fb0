// SPDX-License-Identifier: MIT
#include "solar/elements.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

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

// One periodic term of the Earth's elements: the argument as integer multiples of the mean
// longitudes of Venus, the Earth, Mars and Jupiter, and the amplitudes (units of 1e-7 au
// or radians) of its sine and cosine in a, lambda, k and h. All are integers, held as the
// doubles they are multiplied as.
struct PerturbationTerm {
  double venus, earth, mars, jupiter;
  double a_sin, a_cos, lambda_sin, lambda_cos, k_sin, k_cos, h_sin, h_cos;
};

// Every argument is written with its longitudes in the order Venus, Earth, Mars, Jupiter,
// so summing the products in that order reproduces it term by term.
constexpr PerturbationTerm kEarthTerms[] = {
    {0, 4, -8, 3, 0, 0, -97, 322, 0, 0, 0, 0},
    {2, -3, 0, 0, 15, 0, -2, 109, 0, -199, 199, 0},
    {0, 1, 0, -2, 6, 3, -13, 20, 0, 186, -186, 0},
    {0, 0, 0, 1, 0, 0, -125, 17, -3, -150, -151, 1},
    {0, 2, 0, -2, 0, 112, -206, 0, 0, 0, 0, 0},
    {1, -1, 0, 0, 0, 76, 166, 0, -2, 0, 0, 0},
    {1, -2, 0, 0, -3, 1, 3, -1, 0, 82, -82, 0},
    {2, -2, 0, 0, 0, -41, 127, 0, 0, 0, 0, 0},
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 48, 48, 0},
    {3, -4, 0, 0, 5, 0, 0, 14, 0, -48, 48, 0},
    {0, 1, -2, 0, -3, -3, -65, 56, 1, -44, 45, 0},
    {8, -13, 0, 0, 0, 0, 49, 76, -1, -2, 2, -1},
    {0, 1, 0, -3, 0, 0, -3, 4, -6, 35, -35, -6},
    {3, -3, 0, 0, 0, -25, 60, 0, 0, 0, 0, 0},
    {0, 1, 0, -1, 0, 11, -51, -1, -1, -7, 1, -2},
    {3, -5, 0, 0, -1, -4, -46, 12, -29, -1, 1, -29},
    {0, 0, 0, 2, 0, 0, -4, 1, 22, -16, -17, -22},
};

// The amplitudes of each term regrouped for the sums: those of a, lambda, k and h side by
// side, for the sine and for the cosine.
struct TermAmplitudes {
  std::array<double, 4> sine, cosine;
};

constexpr auto kEarthAmplitudes = [] {
  std::array<TermAmplitudes, std::size(kEarthTerms)> amplitudes{};
  for (std::size_t j = 0; j < amplitudes.size(); ++j) {
    const PerturbationTerm& t = kEarthTerms[j];
    amplitudes[j] = {{t.a_sin, t.lambda_sin, t.k_sin, t.h_sin}, {t.a_cos, t.lambda_cos, t.k_cos, t.h_cos}};
  }
  return amplitudes;
}();

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

}  // namespace

void ELMTS_EARTH(double T, double& a, double& lambda, double& k, double& h, double& q,
                 double& p) {
  const double venus = LM2(T);
  const double earth = LM3(T);
  const double mars = LM4(T);
  const double jupiter = LM5(T);

  // The sines and cosines first, so that no partial sum waits through a call.
  constexpr std::size_t kTerms = std::size(kEarthTerms);
  std::array<double, kTerms> sines, cosines;
  for (std::size_t j = 0; j < kTerms; ++j) {
    const PerturbationTerm& t = kEarthTerms[j];
    const double arg = ((t.venus * venus + t.earth * earth) + t.mars * mars) + t.jupiter * jupiter;
    sines[j] = std::sin(arg);
    cosines[j] = std::cos(arg);
  }

  // The sums of a, lambda, k and h run over the terms in table order, sine before cosine
  // within a term.
  std::array<double, 4> sum{};
  for (std::size_t j = 0; j < kTerms; ++j) {
    const TermAmplitudes& amplitude = kEarthAmplitudes[j];
    for (std::size_t n = 0; n < 4; ++n) sum[n] = sum[n] + amplitude.sine[n] * sines[j];
    for (std::size_t n = 0; n < 4; ++n) sum[n] = sum[n] + amplitude.cosine[n] * cosines[j];
  }

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
  set[element::i] = 2 * std::asin(std::clamp(std::sqrt(p * p + q * q), -1.0, 1.0));
  set[element::node] = node;
  set[element::M] = lambda - varpi;
  set[element::peri] = varpi - node;
}

}  // namespace astro
