// SPDX-License-Identifier: MIT
// astro_sun_reference: the C++ sun_position for the Python module's tests. Reads lines of
//   jd_ut latitude longitude precession nutation refraction pressure_hpa temperature_c
// (angles in radians, numbers as strtod reads them, hexadecimal floats included; switches 0
// or 1) and prints for each the nine fields of SunPosition in radians (the distance in au)
// as hexadecimal floats, or nine "nan" where sun_position throws RangeError.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"

namespace {

double number(const std::string& field) {
  char* end = nullptr;
  const double value = std::strtod(field.c_str(), &end);
  if (end == field.c_str() || *end != '\0') {
    std::fprintf(stderr, "astro_sun_reference: not a number: %s\n", field.c_str());
    std::exit(2);
  }
  return value;
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream fields(line);
    std::string f[8];
    for (auto& field : f) {
      if (!(fields >> field)) {
        std::fprintf(stderr, "astro_sun_reference: a line needs 8 fields: %s\n", line.c_str());
        return 2;
      }
    }
    const astro::Site site{number(f[1]), number(f[2])};
    const astro::SunOptions options{number(f[3]) != 0, number(f[4]) != 0, number(f[5]) != 0,
                                    number(f[6]), number(f[7])};
    try {
      const astro::SunPosition s = astro::sun_position(number(f[0]), site, options);
      std::printf("%a %a %a %a %a %a %a %a %a\n", s.azimuth, s.azimuth_south, s.height,
                  s.right_ascension, s.declination, s.hour_angle, s.ecliptic_longitude,
                  s.ecliptic_latitude, s.distance);
    } catch (const astro::RangeError&) {
      std::printf("nan nan nan nan nan nan nan nan nan\n");
    }
  }
  return 0;
}
