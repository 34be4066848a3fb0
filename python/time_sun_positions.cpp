// SPDX-License-Identifier: MIT
// astro_time_sun_positions [N [PASSES]]: times sun_positions over N instants (default
// 1,000,000) one minute apart from JD 2461200.5 at 50.0833 N, 14.4167 E, default options,
// PASSES times (default 5), and prints one line per pass: "sun_positions N SECONDS". The
// instants and the site are those of scripts/bench-python's Python timing.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/constants.hpp"
#include "solar/sun.hpp"

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int passes = argc > 2 ? std::atoi(argv[2]) : 5;
  if (n <= 0 || passes <= 0) {
    std::fprintf(stderr, "usage: astro_time_sun_positions [N [PASSES]]\n");
    return 2;
  }
  std::vector<double> jd(static_cast<std::size_t>(n));
  for (long k = 0; k < n; ++k) jd[static_cast<std::size_t>(k)] = 2461200.5 + static_cast<double>(k) / 1440.0;
  const astro::Site site{50.0833 * astro::kDegToRad, 14.4167 * astro::kDegToRad};
  std::vector<astro::SunPosition> out(jd.size());
  double checksum = 0;
  for (int pass = 0; pass < passes; ++pass) {
    const auto t0 = std::chrono::steady_clock::now();
    astro::sun_positions(jd, site, {}, out);
    const auto t1 = std::chrono::steady_clock::now();
    checksum += out.back().height;
    std::printf("sun_positions %ld %.6f\n", n, std::chrono::duration<double>(t1 - t0).count());
  }
  // Keeps the results alive, so no pass can be left out.
  std::fprintf(stderr, "checksum %.17g\n", checksum);
  return 0;
}
