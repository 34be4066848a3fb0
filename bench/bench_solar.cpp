// SPDX-License-Identifier: MIT
// The solar chain per call: RIZAR, the Kepler solvers, the Earth's elements, nutation, the
// calendar, and the floor of RIZAR: the elementary functions that one call evaluates.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "bench/common.hpp"
#include "core/constants.hpp"
#include "solar/solar.hpp"
#include "timeutil/timeutil.hpp"

namespace astro::bench {
namespace {

double centuries(double jd) { return (jd - 2451545.0) / 36525; }

// RIZAR at the 64 instants for Prague; range(0) switches all three corrections on or off.
void BM_RIZAR(benchmark::State& state) {
  const RunParameters p = minute_series(1, state.range(0) == 1);
  std::size_t k = 0;
  for (auto _ : state) rizar_kept(kInstants[k++ % kInstantCount], p);
}
BENCHMARK(BM_RIZAR)->ArgName("switches")->Arg(0)->Arg(1);

// The three solvers at 64 mean anomalies from 0.1 to about 49 rad (several turns, never
// reduced) and at the eccentricity range(0) / 10000.
template <double (*Solver)(double, double)>
void BM_Kepler(benchmark::State& state) {
  const double e = static_cast<double>(state.range(0)) / 10000;
  std::array<double, 64> M;
  for (std::size_t k = 0; k < M.size(); ++k) M[k] = 0.1 + static_cast<double>(k) * 0.77;
  std::size_t k = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Solver(M[k++ % M.size()], e));
}
BENCHMARK(BM_Kepler<KEPLER>)->Name("BM_KEPLER")->ArgName("e_1e4")->Arg(167)->Arg(3000)->Arg(9000);
BENCHMARK(BM_Kepler<WEGSTEIN>)->Name("BM_WEGSTEIN")->ArgName("e_1e4")->Arg(167)->Arg(3000)->Arg(9000);
BENCHMARK(BM_Kepler<EKEPL1>)->Name("BM_EKEPL1")->ArgName("e_1e4")->Arg(167)->Arg(3000)->Arg(9000);

void BM_ELMTS_EARTH(benchmark::State& state) {
  std::size_t k = 0;
  for (auto _ : state) {
    double a, lambda, kk, h, q, p;
    ELMTS_EARTH(centuries(kInstants[k++ % kInstantCount]), a, lambda, kk, h, q, p);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(lambda);
    benchmark::DoNotOptimize(kk);
    benchmark::DoNotOptimize(h);
    benchmark::DoNotOptimize(q);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_ELMTS_EARTH);

void BM_NUTATE_ANGLE(benchmark::State& state) {
  std::size_t k = 0;
  for (auto _ : state) {
    double dpsi, deps;
    NUTATE_ANGLE(centuries(kInstants[k++ % kInstantCount]), dpsi, deps);
    benchmark::DoNotOptimize(dpsi);
    benchmark::DoNotOptimize(deps);
  }
}
BENCHMARK(BM_NUTATE_ANGLE);

// JD of the calendar dates of the 64 instants (found once with OD).
void BM_JD(benchmark::State& state) {
  std::array<std::array<double, 3>, kInstantCount> dates;
  for (std::size_t k = 0; k < kInstantCount; ++k) OD(kInstants[k], dates[k][0], dates[k][1], dates[k][2]);
  std::size_t k = 0;
  for (auto _ : state) {
    const auto& d = dates[k++ % kInstantCount];
    benchmark::DoNotOptimize(JD(d[0], d[1], d[2]));
  }
}
BENCHMARK(BM_JD);

void BM_OD(benchmark::State& state) {
  std::size_t k = 0;
  for (auto _ : state) {
    double year, month, day;
    OD(kInstants[k++ % kInstantCount], year, month, day);
    benchmark::DoNotOptimize(year);
    benchmark::DoNotOptimize(month);
    benchmark::DoNotOptimize(day);
  }
}
BENCHMARK(BM_OD);

// The floor of RIZAR with all three corrections on: the elementary functions one call
// evaluates, counted from the code, each on an argument of the kind that call gives it.
//   ELMTS_EARTH    17 sine-cosine pairs, one per periodic term
//   ELMTS_PLANET   2 atan2 (perihelion, node), 2 sqrt (e, sin i/2), 1 asin (i)
//   EPH            KEPLER: 1 sin for the start and 1 per pass; at the 64 instants it makes
//                  6 passes at 51 of them (3 to 5 at the others), so 7 sin in all;
//                  1 sine-cosine pair of E, 1 sqrt (1 - e^2), 3 rotations (peri, i, node)
//   RIZAR          1 sqrt (r), 1 rotation to the equator, 2 atan2 (RA, HeLong),
//                  2 asin (DE, HeLat), 1 rotation back to the ecliptic, 1 rotation by the
//                  sidereal time, 1 atan2 (HA), 1 rotation by the co-latitude, 1 atan2 (AZ),
//                  1 asin (HT)
//   PRECES         3 rotations;  NUTATE_ANGLE  9 sine-cosine pairs;  NUTATE  3 rotations
//   REFRAKCE       1 tan, when the Sun is above the horizon (33 of the 64 instants)
// A rotation takes one sine-cosine pair of its angle; the compiler makes every pair of one
// argument a single sincos call, here as in the chain. In all: 40 sine-cosine pairs, 7 sin,
// 6 atan2, 4 asin, 4 sqrt and 0 or 1 tan.
//
// The arguments: the chain's own values wherever a public routine gives them (the angles of
// every rotation, M, e and the fixed-point iterates of Kepler's equation, the element parts,
// the sines of the output angles for the arc sines, their sines and cosines at 1 au for the
// arc tangents, the refraction's argument). The 26 series arguments are integer
// combinations of mean longitudes and of the Moon's arguments, from a few to some thousand
// radians; here they are multiples of the Earth's and Mars' mean longitudes of the same
// sizes (glibc's sine costs the same from about 2.5 rad to 1e8 rad).
//
// Two floors: with every call on its precomputed argument the calls are independent and the
// processor overlaps them, Kepler's sines among them; in RIZAR each Kepler pass takes the sine
// of the iterate the pass before made, so those seven sines follow one another whatever the
// code around them. The second floor makes them so: each sine's argument is M + e sin of the
// one before, as in the iteration.
constexpr std::size_t kKeplerSines = 7;

struct FloorArguments {
  std::array<double, 17> series;
  std::array<double, 9> nutation;
  double h, k, q, p;                                 // element parts: atan2 and sqrt
  double M, e;                                       // Kepler's equation
  std::array<double, kKeplerSines - 1> iterates;     // E of each pass, the last one E
  std::array<double, 13> rotations;                  // the angle of each rotation
  double r2;                                         // squared distance: sqrt
  std::array<std::array<double, 2>, 4> atan2_parts;  // y and x of RA, HeLong, HA, AZ
  std::array<double, 3> asin_values;                 // sines of DE, HeLat, HT
  double refraction;  // tan argument, NaN when the Sun is below the horizon
};

FloorArguments floor_arguments(double jd) {
  const double lambda = kLongitudeDeg * kDegToRad;
  const double phi = kLatitudeDeg * kDegToRad;
  const double T = centuries(jd);
  FloorArguments f;
  for (std::size_t j = 0; j < f.series.size(); ++j) f.series[j] = static_cast<double>(j + 2) * LM3(T) - LM4(T);
  for (std::size_t j = 0; j < f.nutation.size(); ++j) f.nutation[j] = static_cast<double>(j + 2) * LM4(T) + LM3(T);
  double a, mean_longitude;
  ELMTS_EARTH(T, a, mean_longitude, f.k, f.h, f.q, f.p);
  ElementSet set;
  ELMTS_PLANET(3, T, set);
  f.M = set[element::M];
  f.e = set[element::e];
  double E = f.M + f.e * std::sin(f.M);
  for (double& iterate : f.iterates) iterate = E = f.M + f.e * std::sin(E);
  const double eps = EPS_EARTH(T);
  double zeta, z, theta, dpsi, deps, gmst0, gmst, lst;
  PRECES_ANGLE(0.0, T, zeta, z, theta);
  NUTATE_ANGLE(T, dpsi, deps);
  LST(jd, lambda / kDegToRad, gmst0, gmst, lst);
  f.rotations = {-set[element::peri], -set[element::i], -set[element::node], -eps, -zeta, theta,
                 -z, eps, -dpsi, -deps - eps, eps, lst * kPi / 12, kPi / 2 - phi};
  f.r2 = a * a;
  double AZ, HT, RA, DE, HA, HeLong, HeLat;
  RIZAR(jd, lambda, phi, 1, 1, 0, AZ, HT, RA, DE, HA, HeLong, HeLat);
  for (std::size_t j = 0; const double angle : {RA, HeLong, HA, AZ}) {
    f.atan2_parts[j++] = {std::sin(angle) * a, std::cos(angle) * a};
  }
  f.asin_values = {std::sin(DE), std::sin(HeLat), std::sin(HT)};
  const double h = HT * kRadToDeg;
  f.refraction = HT > 0 ? (h + 7.31 / (h + 4.4)) * kDegToRad : std::nan("");
  return f;
}

template <bool kKeplerChained>
double floor_of_one_call(const FloorArguments& f) {
  double sum = 0;
  const auto pair = [&sum](double x) { sum += std::sin(x) + std::cos(x); };
  for (double x : f.series) pair(x);
  sum += std::atan2(f.h, f.k) + std::atan2(f.p, f.q);
  const double sin_half_i = std::sqrt(f.p * f.p + f.q * f.q);
  sum += std::sqrt(f.h * f.h + f.k * f.k) + std::asin(sin_half_i);
  if constexpr (kKeplerChained) {
    double E = f.M + f.e * std::sin(f.M);
    for (std::size_t j = 1; j < kKeplerSines; ++j) E = f.M + f.e * std::sin(E);
    sum += E;
  } else {
    sum += std::sin(f.M);
    for (double E : f.iterates) sum += std::sin(E);
  }
  pair(f.iterates.back());
  sum += std::sqrt(1 - f.e * f.e);
  for (double angle : f.rotations) pair(angle);
  for (double x : f.nutation) pair(x);
  sum += std::sqrt(f.r2);
  for (const auto& [y, x] : f.atan2_parts) sum += std::atan2(y, x);
  for (double s : f.asin_values) sum += std::asin(s);
  if (!std::isnan(f.refraction)) sum += std::tan(f.refraction);
  return sum;
}

template <bool kKeplerChained>
void BM_RIZAR_LibmFloor(benchmark::State& state) {
  std::array<FloorArguments, kInstantCount> args;
  for (std::size_t k = 0; k < kInstantCount; ++k) args[k] = floor_arguments(kInstants[k]);
  std::size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(floor_of_one_call<kKeplerChained>(args[k++ % kInstantCount]));
  }
}
BENCHMARK(BM_RIZAR_LibmFloor<false>)->Name("BM_RIZAR_LibmFloor");
BENCHMARK(BM_RIZAR_LibmFloor<true>)->Name("BM_RIZAR_LibmFloor_KeplerChained");

}  // namespace
}  // namespace astro::bench
