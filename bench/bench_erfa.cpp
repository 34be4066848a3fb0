// SPDX-License-Identifier: MIT
// Peer: the Sun's azimuth and altitude from ERFA at the same instants and site.
#include <benchmark/benchmark.h>
#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "bench/common.hpp"

namespace astro::bench {
namespace {

struct AzAlt {
  double az, alt;  // degrees, azimuth from the south through the west
};

// The Earth's heliocentric position from eraEpv00, negated, turned to the true equator and
// equinox of date by eraPnm00b; the hour angle from eraGst00b; eraHd2ae. The instant serves
// as UT and as TT, as in RIZAR.
AzAlt erfa_sun(double jd) {
  double pvh[2][3], pvb[2][3];
  eraEpv00(jd, 0.0, pvh, pvb);
  double sun[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
  double rbpn[3][3];
  eraPnm00b(jd, 0.0, rbpn);
  eraRxp(rbpn, sun, sun);
  double ra, dec;
  eraC2s(sun, &ra, &dec);
  const double ha = eraGst00b(jd, 0.0) + kLongitudeDeg * ERFA_DD2R - ra;
  double az, el;
  eraHd2ae(ha, dec, kLatitudeDeg * ERFA_DD2R, &az, &el);
  // eraHd2ae counts the azimuth from the north through the east.
  return {eraAnp(az + ERFA_DPI) * ERFA_DR2D, el * ERFA_DR2D};
}

void BM_Peer_ERFA(benchmark::State& state) {
  const AzAlt first = erfa_sun(kInstants[0]);
  if (const std::string error = disagreement(first.az, first.alt); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::size_t k = 0;
  for (auto _ : state) {
    const AzAlt sun = erfa_sun(kInstants[k++ % kInstantCount]);
    benchmark::DoNotOptimize(sun.az);
    benchmark::DoNotOptimize(sun.alt);
  }
}
BENCHMARK(BM_Peer_ERFA);

}  // namespace
}  // namespace astro::bench
