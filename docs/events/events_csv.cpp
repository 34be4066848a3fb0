// SPDX-License-Identifier: MIT
// events_csv LATITUDE_DEG LONGITUDE_DEG JD_FROM JD_TO: every event of sun_events in the
// range as CSV lines "kind,jd_ut,azimuth_deg,height_deg", for docs/events/compare.py.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "solar/events.hpp"
#include "core/constants.hpp"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: events_csv LATITUDE_DEG LONGITUDE_DEG JD_FROM JD_TO\n");
    return 2;
  }
  const double latitude = std::strtod(argv[1], nullptr), longitude = std::strtod(argv[2], nullptr);
  const double from = std::strtod(argv[3], nullptr), to = std::strtod(argv[4], nullptr);
  try {
    const astro::Site site{latitude * astro::kDegToRad, longitude * astro::kDegToRad};
    for (const astro::SunEvent& e : astro::sun_events(site, from, to)) {
      const std::string name(astro::sun_event_name(e.kind));
      std::printf("%s,%.9f,%.6f,%.6f\n", name.c_str(), e.jd_ut, e.azimuth / astro::kDegToRad,
                  e.height / astro::kDegToRad);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "events_csv: %s\n", error.what());
    return 1;
  }
  return 0;
}
