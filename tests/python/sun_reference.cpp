// SPDX-License-Identifier: MIT
// astro_sun_reference: the C++ sun_position and sun_events for the Python module's tests.
// Numbers are read as strtod reads them (hexadecimal floats included), angles in radians,
// and written as hexadecimal floats.
// Without arguments it reads lines of
//   jd_ut latitude longitude precession nutation refraction pressure_hpa temperature_c
// (switches 0 or 1) and prints for each the nine fields of SunPosition (the distance in au),
// or nine "nan" where sun_position throws RangeError.
// With the argument "events" it reads lines of
//   latitude longitude height jd_from jd_to horizon use_site_height
// (horizon "default" for the library's own) and prints for each line one line per event,
// "name jd_ut azimuth height", then "end"; or "error" where sun_events throws RangeError.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "core/errors.hpp"
#include "solar/events.hpp"
#include "solar/sun.hpp"

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

int events() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream fields(line);
    std::string f[7];
    for (auto& field : f) {
      if (!(fields >> field)) {
        std::fprintf(stderr, "astro_sun_reference: a line needs 7 fields: %s\n", line.c_str());
        return 2;
      }
    }
    const astro::Site site{number(f[0]), number(f[1]), number(f[2])};
    astro::SunEventOptions options;
    if (f[5] != "default") options.horizon = number(f[5]);
    options.use_site_height = number(f[6]) != 0;
    try {
      for (const astro::SunEvent& e : astro::sun_events(site, number(f[3]), number(f[4]), options)) {
        std::printf("%s %a %a %a\n", std::string(astro::sun_event_name(e.kind)).c_str(), e.jd_ut,
                    e.azimuth, e.height);
      }
      std::printf("end\n");
    } catch (const astro::RangeError&) {
      std::printf("error\n");
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "events") return events();
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
