// SPDX-License-Identifier: MIT
// astro_time_sun_calls [N]: times N sun_position calls (default 1,000,000) at the instants
// of `astro sun --start 2026-06-09T00:00Z --step 1min --count N` for the same site, all
// corrections on, and prints the seconds they took. scripts/time-astro sets the command's
// whole runs beside it.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli/parse.hpp"
#include "solar/sun.hpp"
#include "core/constants.hpp"

int main(int argc, char** argv) {
  const long long n = argc > 1 ? std::atoll(argv[1]) : 1000000;
  const astro::Site site{(50.0 + 5.0 / 60) * astro::kDegToRad, (14.0 + 25.0 / 60) * astro::kDegToRad};
  const double start = astro::cli::parse_time("2026-06-09T00:00Z", nullptr);
  const double step = 1.0 / 1440;
  double sum = 0;
  const auto t0 = std::chrono::steady_clock::now();
  for (long long i = 0; i < n; ++i) {
    const astro::SunPosition p = astro::sun_position(static_cast<double>(i) * step + start, site);
    sum += p.azimuth + p.height + p.right_ascension + p.declination + p.hour_angle +
           p.ecliptic_longitude + p.ecliptic_latitude + p.distance;
  }
  const auto t1 = std::chrono::steady_clock::now();
  std::printf("%.6f %lld calls (checksum %.17g)\n", std::chrono::duration<double>(t1 - t0).count(), n, sum);
}
