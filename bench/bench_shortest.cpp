// SPDX-License-Identifier: MIT
// The astro command's shortest round-trip writer, put_double, against std::to_chars, which
// gives the same text: the nine numbers of `astro sun` csv rows (the Julian Date, the angles
// in degrees, the distance in au) for 4096 instants a minute apart, from 2026 June 9.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstddef>
#include <vector>

#include "bench/common.hpp"
#include "cli/output.hpp"
#include "solar/sun.hpp"

namespace astro::bench {
namespace {

const std::vector<double>& row_numbers() {
  static const std::vector<double> numbers = [] {
    const Site prague{kLatitudeDeg * kDegToRad, kLongitudeDeg * kDegToRad};
    std::vector<double> v;
    for (int k = 0; k < 4096; ++k) {
      const double jd = 2461200.5 + k / 1440.0;
      const SunPosition s = sun_position(jd, prague);
      for (double x : {jd, s.azimuth * kRadToDeg, s.height * kRadToDeg,
                       s.right_ascension * kRadToDeg, s.declination * kRadToDeg,
                       s.hour_angle * kRadToDeg, s.ecliptic_longitude * kRadToDeg,
                       s.ecliptic_latitude * kRadToDeg, s.distance}) {
        v.push_back(x);
      }
    }
    return v;
  }();
  return numbers;
}

// One iteration writes all 36,864 numbers; items per second is numbers per second.
template <class Write>
void write_all(benchmark::State& state, Write write) {
  const std::vector<double>& numbers = row_numbers();
  char buffer[64];
  for (auto _ : state) {
    std::size_t length = 0;
    for (double x : numbers) length += static_cast<std::size_t>(write(buffer, x) - buffer);
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * numbers.size()));
}

void BM_put_double(benchmark::State& state) {
  write_all(state, [](char* p, double x) { return cli::put_double(p, x); });
}
BENCHMARK(BM_put_double);

void BM_to_chars_shortest(benchmark::State& state) {
  write_all(state, [](char* p, double x) { return std::to_chars(p, p + 32, x).ptr; });
}
BENCHMARK(BM_to_chars_shortest);

}  // namespace
}  // namespace astro::bench
