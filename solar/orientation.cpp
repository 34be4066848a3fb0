// SPDX-License-Identifier: MIT
#include "solar/orientation.hpp"

#include <array>
#include <cmath>

#include "core/constants.hpp"
#include "solar/rotation.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Fundamental arguments of the nutation series in arcseconds: c0 + c1 T + c2 T^2 + c3 T^3.
// The short decimals of the series are single precision, kept here as the widened values.
struct Polynomial {
  double c0, c1, c2, c3;
};

constexpr Polynomial kMoonAnomaly = {485866.71875, 1717915904, 31.309999465942383,
                                     0.06400000303983688};                         // l
constexpr Polynomial kSunAnomaly = {1287099.75, 129596520, -0.5770000219345093,
                                    -0.012000000104308128};                        // l'
constexpr Polynomial kMoonLatitude = {335778.65625, 1739527296, -13.256999969482422,
                                      0.010999999940395355};                       // F
constexpr Polynomial kMoonElongation = {1072261.25, 1602961664, -6.890999794006348,
                                        0.01899999938905239};                      // D
constexpr Polynomial kMoonNode = {450160.28125, -6962890.5, 0.45500001311302185,
                                  0.00800000037997961};                            // Omega

// One nutation term: its argument as integer multiples of F, D, Omega, l, l' (in this order,
// which is the order every argument is written and summed in; held as the doubles they are
// multiplied as), the amplitude of its sine in longitude and of its cosine in obliquity,
// arcseconds (single precision, widened).
struct NutationTerm {
  double F, D, node, l, l1;
  double dpsi_sin, deps_cos;
};

constexpr NutationTerm kNutationTerms[] = {
    {0, 0, 1, 0, 0, -17.200000762939453, 9.199999809265137},     // Omega
    {2, -2, 2, 0, 0, -1.3200000524520874, 0.5699999928474426},   // 2F - 2D + 2Omega
    {2, 0, 2, 0, 0, -0.23000000417232513, 0.10000000149011612},  // 2F + 2Omega
    {0, 0, 2, 0, 0, 0.20999999344348907, -0.09000000357627869},  // 2Omega
    {0, 0, 0, 0, 1, 0.14000000059604645, 0.009999999776482582},  // l'
    {0, 0, 0, 1, 0, 0.07000000029802322, 0.0},                   // l
    {2, -2, 2, 0, 1, -0.05000000074505806, 0.019999999552965164},  // 2F - 2D + 2Omega + l'
    {2, 0, 1, 0, 0, -0.03999999910593033, 0.019999999552965164},   // 2F + Omega
    {2, 0, 2, 1, 0, -0.029999999329447746, 0.009999999776482582},  // 2F + 2Omega + l
};

}  // namespace

double EPS_EARTH(double T) {
  const double s = ((21.448 - 46.815 * T) - 0.00059 * (T * T)) + 0.001813 * (T * T * T);
  return HMSH(23, 26, s) * kDegToRad;
}

void PRECES_ANGLE(double T0, double t, double& zeta, double& z, double& theta) {
  const double T02 = T0 * T0;
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double rate = (2306.2181 + 1.39656 * T0) - 0.000139 * T02;
  zeta = ((rate * t + (0.30188 - 0.000344 * T0) * t2) + 0.017998 * t3) * kArcsecToRad;
  z = ((rate * t + (1.09468 + 0.000066 * T0) * t2) + 0.018203 * t3) * kArcsecToRad;
  theta = ((((2004.3109 - 0.8533 * T0) - 0.000217 * T02) * t - (0.42665 + 0.000217 * T0) * t2) -
           0.041833 * t3) *
          kArcsecToRad;
}

void PRECES(Vector3& v, double zeta, double z, double theta) {
  Vector3 w1, w2;
  const double minus_zeta = -zeta;
  const double minus_z = -z;
  ROTAT3(v, w1, minus_zeta);
  ROTAT2(w1, w2, theta);
  ROTAT3(w2, v, minus_z);
}

void NUTATE_ANGLE(double T, double& dpsi, double& deps) {
  const double T2 = T * T;
  const double T3 = T2 * T;
  const auto radians = [T, T2, T3](const Polynomial& p) {
    return (((p.c0 + p.c1 * T) + p.c2 * T2) + p.c3 * T3) * kArcsecToRad;
  };
  const double F = radians(kMoonLatitude);
  const double D = radians(kMoonElongation);
  const double node = radians(kMoonNode);
  const double l = radians(kMoonAnomaly);
  const double l1 = radians(kSunAnomaly);

  // The sines and cosines first, so that no partial sum waits through a call.
  constexpr std::size_t kTerms = std::size(kNutationTerms);
  std::array<double, kTerms> sines, cosines;
  for (std::size_t j = 0; j < kTerms; ++j) {
    const NutationTerm& term = kNutationTerms[j];
    // A multiple 2 doubles the argument in radians; 1 and 0 keep or drop it exactly.
    const double arg = (((term.F * F + term.D * D) + term.node * node) + term.l * l) + term.l1 * l1;
    sines[j] = std::sin(arg);
    cosines[j] = std::cos(arg);
  }
  double sum_psi = 0, sum_eps = 0;
  for (std::size_t j = 0; j < kTerms; ++j) {
    sum_psi = sum_psi + kNutationTerms[j].dpsi_sin * sines[j];
    sum_eps = sum_eps + kNutationTerms[j].deps_cos * cosines[j];
  }
  dpsi = sum_psi * kArcsecToRad;
  deps = sum_eps * kArcsecToRad;
}

void NUTATE(Vector3& v, double eps, double dpsi, double deps) {
  Vector3 w1, w2;
  const double minus_dpsi = -dpsi;
  const double minus_true_eps = -deps - eps;
  ROTAT1(v, w1, eps);
  ROTAT3(w1, w2, minus_dpsi);
  ROTAT1(w2, v, minus_true_eps);
}

}  // namespace astro
