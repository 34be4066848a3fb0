// SPDX-License-Identifier: MIT
// What the benchmarks share: the site, the instants, and a stream that discards its text.
#pragma once

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

#include "core/constants.hpp"
#include "driver/dialogue.hpp"
#include "driver/table.hpp"
#include "solar/sun.hpp"

namespace astro::bench {

// Prague, the program's example site: latitude and longitude in degrees, north and east.
inline constexpr double kLatitudeDeg = 50.0 + 5.0 / 60;
inline constexpr double kLongitudeDeg = 14.0 + 25.0 / 60;

// Instants spread over 1990 to 2061 at changing times of day: 64 Julian Dates (UT), from
// 1990 January 1, 0h, every 409.6543 days. Each benchmark cycles through them, one per
// iteration, so no result can be carried from one iteration to the next.
inline constexpr std::size_t kInstantCount = 64;
inline const std::array<double, kInstantCount> kInstants = [] {
  std::array<double, kInstantCount> jd{};
  for (std::size_t k = 0; k < kInstantCount; ++k) jd[k] = 2447892.5 + static_cast<double>(k) * 409.6543;
  return jd;
}();

// The run of scripts/time-table and scripts/bench: Prague from 2026 June 9, 0h UT, one row a
// minute, all three corrections switched on or all off.
inline RunParameters minute_series(std::int32_t nsteps, bool corrections = true) {
  RunParameters p;
  p.phi = kLatitudeDeg * kDegToRad;
  p.lambda = kLongitudeDeg * kDegToRad;
  p.jd0 = 2461200.5;
  p.dt = 1.0 / 1440;
  p.nsteps = nsteps;
  p.precession = p.nutation = p.refraction = corrections ? 1 : 0;
  return p;
}

// RIZAR at instant jd for the site and switches of p, every result kept from the optimiser.
inline void rizar_kept(double jd, const RunParameters& p) {
  SunPosition s;
  RIZAR(jd, p.lambda, p.phi, p.precession, p.nutation, p.refraction, s.azimuth_south, s.height,
        s.right_ascension, s.declination, s.hour_angle, s.ecliptic_longitude,
        s.ecliptic_latitude);
  benchmark::DoNotOptimize(s);
}

// Checks a peer's azimuth (from the south through the west) and altitude, degrees, at the
// first instant against RIZAR's with all corrections on: empty when they agree within half a
// degree, else the difference, for SkipWithError. The models differ by up to some tenths of
// a degree (libnova's solar place stays referred to J2000.0, 0.15 degrees of precession in
// 1990), so this catches a misused unit, sign or origin of the peer's interface, not its
// accuracy.
inline std::string disagreement(double az_deg, double alt_deg) {
  const SunPosition s = table_position(kInstants[0], minute_series(1));
  const double daz = std::remainder(az_deg - s.azimuth_south * kRadToDeg, 360.0);
  const double dalt = alt_deg - s.height * kRadToDeg;
  if (std::fabs(daz) < 0.5 && std::fabs(dalt) < 0.5) return {};
  return "differs from RIZAR by " + std::to_string(daz) + " deg in azimuth, " +
         std::to_string(dalt) + " deg in altitude";
}

// A stream buffer that takes any amount of text and keeps none of it.
class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type ch) override { return traits_type::not_eof(ch); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace astro::bench
