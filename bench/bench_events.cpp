// SPDX-License-Identifier: MIT
// Sunrise, sunset, transits and twilights: a year of every event at the program's example
// site, as one call.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/common.hpp"
#include "solar/events.hpp"

namespace astro::bench {
namespace {

// 2026 January 1, 0h UT, and the 365 days of that year.
inline constexpr double kYearStart = 2461041.5;
inline constexpr int kYearDays = 365;

void BM_sun_events_year(benchmark::State& state) {
  const Site prague{kLatitudeDeg * kDegToRad, kLongitudeDeg * kDegToRad};
  for (auto _ : state) {
    std::vector<SunEvent> events = sun_events(prague, kYearStart, kYearStart + kYearDays);
    benchmark::DoNotOptimize(events.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kYearDays);  // days
}
BENCHMARK(BM_sun_events_year)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace astro::bench
