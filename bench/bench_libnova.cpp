// SPDX-License-Identifier: MIT
// Peer: the Sun's azimuth and altitude from libnova at the same instants and site.
#include <benchmark/benchmark.h>
#include <libnova/rise_set.h>
#include <libnova/solar.h>
#include <libnova/transform.h>

#include <cmath>
#include <string>

#include "bench/common.hpp"
#include "solar/events.hpp"

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

// Rise, transit and set from ln_get_solar_rst (horizon -50', its standard) for each of the
// 365 days of 2026 at the same site, against BM_sun_events_year's every event of that year.
// The first day's sunrise is checked against sun_events within two minutes, which catches
// a misused longitude sign or time scale of the interface.
void BM_Peer_libnova_solar_rst_year(benchmark::State& state) {
  constexpr double kYearStart = 2461041.5;
  constexpr int kYearDays = 365;
  ln_lnlat_posn observer{kLongitudeDeg, kLatitudeDeg};
  ln_rst_time first;
  ln_get_solar_rst(kYearStart, &observer, &first);
  const Site prague{kLatitudeDeg * kDegToRad, kLongitudeDeg * kDegToRad};
  for (const SunEvent& e : sun_events(prague, kYearStart, kYearStart + 1)) {
    if (e.kind == SunEventKind::sunrise && std::fabs(e.jd_ut - first.rise) > 2.0 / 1440) {
      state.SkipWithError(("libnova's sunrise differs by " +
                           std::to_string((first.rise - e.jd_ut) * 1440) + " min").c_str());
      return;
    }
  }
  for (auto _ : state) {
    for (int d = 0; d < kYearDays; ++d) {
      ln_rst_time rst;
      const int status = ln_get_solar_rst(kYearStart + d, &observer, &rst);
      benchmark::DoNotOptimize(status);
      benchmark::DoNotOptimize(rst);
    }
  }
  state.SetItemsProcessed(state.iterations() * kYearDays);  // days
}
BENCHMARK(BM_Peer_libnova_solar_rst_year)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace astro::bench
