// SPDX-License-Identifier: MIT
// Greenwich and local mean sidereal time, and its inverse.
#include <cmath>

#include "core/constants.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Coefficients of GMST at 0h UT (hours; T in Julian centuries from J2000.0) used by LST:
// the single-precision roundings of UT1's doubles, widened. Printed digits of nearly every
// table row depend on these being the widened single-precision values.
constexpr double kLstC0 = 6.69737434387207;         // 6.6973743f
constexpr double kLstC1 = 2400.05126953125;         // 2400.0513f
constexpr double kLstC2 = 2.5862200345727615e-05;   // 2.58622e-05f
constexpr double kLstC3 = 1.7000000296363282e-09;   // 1.7e-09f
constexpr double kLstRate = 1.0027378797531128;     // 1.0027379f, sidereal per solar time

}  // namespace

void LST(double jd, double londeg, double& gmst0, double& gmst, double& lst) {
  const double jd0 = std::trunc(jd + 0.5) - 0.5;
  const double ut = (jd - jd0) * 24;
  const double t = (jd0 - kJ2000) / kDaysPerCentury;
  const double g = ((kLstC1 * t + kLstC2 * t * t) - kLstC3 * t * t * t) + kLstC0;
  gmst0 = FRAC(g / 24) * 24;
  if (gmst0 < 0) gmst0 = gmst0 + 24;
  gmst = ut * kLstRate + gmst0;
  lst = gmst + londeg / 15;
}

double UT1(double lst, double t, double dpsi, double eps, double lon) {
  // Days from JD 2451544.5 to the 0h that begins the instant's day: floored, so that an
  // instant before that 0h is not given the following day's.
  const double days = t * kDaysPerCentury + 0.5;
  std::int64_t n = int32_trunc(days, "UT1");
  if (n > days) n = n - 1;
  const double t0 = (static_cast<double>(n) - 0.5) / kDaysPerCentury;
  const double r = (5.9006e-11 * t - 5.9e-15 * t * t) + 1.002737909350795;
  double g0 = ((2400.05133691 * t0 + 2.58622e-05 * t0 * t0) - 1.7e-09 * t0 * t0 * t0) + 6.697374558;
  g0 = FRAC(g0 / 24) * 24;
  if (g0 < 0) g0 = g0 + 24;
  const double x = (lon / kPi) * 12;
  const double y = ((std::cos(eps) * dpsi) / kPi) * 12;
  return (((-x - y) + lst) - g0) / r;
}

}  // namespace astro
