// SPDX-License-Identifier: MIT
// Prints the Julian Date of J2000.0 and the sidereal time then, through the installed headers.
#include <cstdio>

#include "astro.hpp"

int main() {
  const double jd = astro::JD(2000, 1, 1.5);
  double gmst0 = 0, gmst = 0, lst = 0;
  astro::LST(jd, 0, gmst0, gmst, lst);
  std::printf("%.1f %.9f\n", jd, gmst);
  return jd == 2451545.0 ? 0 : 1;
}
