// SPDX-License-Identifier: MIT
// Peer: the Sun's azimuth and altitude from libnova at the same instants and site.
#include <benchmark/benchmark.h>
#include <libnova/solar.h>
#include <libnova/transform.h>

#include "bench/common.hpp"

namespace astro::bench {
namespace {

// ln_get_solar_equ_coords (apparent place: VSOP87 with nutation and aberration), then
// ln_get_hrz_from_equ with the mean sidereal time; azimuth from the south through the west.
ln_hrz_posn libnova_sun(double jd) {
  ln_lnlat_posn observer{kLongitudeDeg, kLatitudeDeg};
  ln_equ_posn equ;
  ln_get_solar_equ_coords(jd, &equ);
  ln_hrz_posn hrz;
  ln_get_hrz_from_equ(&equ, &observer, jd, &hrz);
  return hrz;
}

void BM_Peer_libnova(benchmark::State& state) {
  const ln_hrz_posn first = libnova_sun(kInstants[0]);
  if (const std::string error = disagreement(first.az, first.alt); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::size_t k = 0;
  for (auto _ : state) {
    const ln_hrz_posn hrz = libnova_sun(kInstants[k++ % kInstantCount]);
    benchmark::DoNotOptimize(hrz.az);
    benchmark::DoNotOptimize(hrz.alt);
  }
}
BENCHMARK(BM_Peer_libnova);

}  // namespace
}  // namespace astro::bench
