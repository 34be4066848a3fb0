// SPDX-License-Identifier: MIT
// Sign and maximum helpers, the 32-bit truncation, angle reduction, hours split and joined.
#include <cmath>
#include <sstream>

#include "core/constants.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

double SGN(double x) {
  if (x > 0) return 1.0;
  if (x < 0) return -1.0;
  return 0.0;
}

std::int32_t MAX(double a, double b, double c) {
  if (a > b) return a > c ? 1 : 3;
  return b > c ? 2 : 3;
}

double NULA2PI(double x) {
  double r = FRAC(x / kTwoPi) * kTwoPi;
  if (r < 0) r = r + kTwoPi;
  return r;
}

void HHMS(double h, double& hh, double& mm, double& ss) {
  hh = int32_trunc(h, "HHMS");
  mm = int32_trunc((h - hh) * 60, "HHMS");
  ss = (h - hh) * 3600 - mm * 60;
}

double HMSH(double hh, double mm, double ss) { return (ss / 3600 + mm / 60) + hh; }

}  // namespace astro
