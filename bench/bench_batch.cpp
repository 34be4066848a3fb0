// SPDX-License-Identifier: MIT
// The batch call against the loop of single calls, and on one thread against two: the Sun
// for Prague at 100,000 instants one minute apart.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "bench/common.hpp"
#include "solar/sun.hpp"

namespace astro::bench {
namespace {

constexpr std::size_t kBatch = 100'000;

std::vector<double> minute_instants() {
  std::vector<double> jd(kBatch);
  for (std::size_t k = 0; k < kBatch; ++k) jd[k] = 2461200.5 + static_cast<double>(k) / 1440;
  return jd;
}

const Site kPrague{kLatitudeDeg * kDegToRad, kLongitudeDeg * kDegToRad};

// sun_position called once per instant by the caller.
void BM_sun_position_loop(benchmark::State& state) {
  const std::vector<double> jd = minute_instants();
  std::vector<SunPosition> out(kBatch);
  for (auto _ : state) {
    for (std::size_t k = 0; k < kBatch; ++k) out[k] = sun_position(jd[k], kPrague);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_sun_position_loop)->Unit(benchmark::kMillisecond);

// sun_positions over the same instants on range(0) threads; real time, as the threads share it.
void BM_sun_positions(benchmark::State& state) {
  const std::vector<double> jd = minute_instants();
  std::vector<SunPosition> out(kBatch);
  const auto threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    sun_positions(jd, kPrague, SunOptions{}, out, threads);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_sun_positions)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace astro::bench
