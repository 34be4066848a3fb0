// SPDX-License-Identifier: MIT
// The table: one row through the formatter, whole rows through the row loop, and RIZAR
// alone over the same instants for comparison.
#include <benchmark/benchmark.h>

#include <array>
#include <ostream>
#include <string>

#include "bench/common.hpp"
#include "driver/table.hpp"
#include "solar/sun.hpp"

namespace astro::bench {
namespace {

// put_row for the 64 instants, from angles computed once.
void BM_put_row(benchmark::State& state) {
  const RunParameters p = minute_series(1);
  std::array<SunPosition, kInstantCount> angles;
  for (std::size_t k = 0; k < kInstantCount; ++k) angles[k] = table_position(kInstants[k], p);
  std::string line;
  line.reserve(128);
  std::size_t k = 0;
  for (auto _ : state) {
    line.clear();
    put_row(line, kInstants[k % kInstantCount], angles[k % kInstantCount]);
    ++k;
    benchmark::DoNotOptimize(line.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_put_row);

// write_table: header and range(0) rows, one a minute from 2026 June 9, all corrections
// on, into a stream that discards them. One iteration is the whole table.
void BM_write_table(benchmark::State& state) {
  const RunParameters p = minute_series(static_cast<std::int32_t>(state.range(0)));
  NullBuffer discard;
  std::ostream out(&discard);
  for (auto _ : state) write_table(p, out);
}
BENCHMARK(BM_write_table)->ArgName("rows")->Arg(1000);

// RIZAR alone at the instants of the same table: one iteration is range(0) calls.
void BM_RIZAR_MinuteSeries(benchmark::State& state) {
  const RunParameters p = minute_series(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    for (std::int32_t i = 0; i < p.nsteps; ++i) rizar_kept(i * p.dt + p.jd0, p);
  }
}
BENCHMARK(BM_RIZAR_MinuteSeries)->ArgName("rows")->Arg(1000);
// The million instants of the whole-program run of scripts/bench, once per repetition.
BENCHMARK(BM_RIZAR_MinuteSeries)->ArgName("rows")->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace astro::bench
