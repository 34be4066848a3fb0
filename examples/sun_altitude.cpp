// SPDX-License-Identifier: MIT
// The Sun's altitude and azimuth at Prague at 10h UT on 2026 June 9, through the library.
#include <cstdio>

#include "astro.hpp"

int main() {
  const astro::Site prague{50.0833 * astro::kDegToRad, 14.4167 * astro::kDegToRad, 200};
  const double jd = astro::JD(2026, 6, 9 + 10.0 / 24);  // Julian Date, UT
  const astro::SunPosition sun = astro::sun_position(jd, prague);
  std::printf("altitude %.4f deg, azimuth %.4f deg from north, distance %.6f au\n",
              sun.height * astro::kRadToDeg, sun.azimuth * astro::kRadToDeg, sun.distance);
}
