// SPDX-License-Identifier: MIT
#include "driver/table.hpp"

#include <ostream>
#include <string_view>

#include "driver/fortran_format.hpp"
#include "solar/sun.hpp"
#include "timeutil/constants.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

constexpr std::string_view kHeader =
    "# JD (UT)     YYYY MM DD HH MM SS   AZ        HT        HeLong    HA        DE        RA\n";

// Half a second in days: added before the calendar split so the clock time rounds.
constexpr double kHalfSecond = 5.787037037037037e-06;

// Rows are collected up to this many bytes, then written in one piece.
constexpr std::size_t kChunk = 1 << 16;

void put_date_field(std::string& line, double value, int width) {
  line.push_back(' ');
  put_integer(line, int32_trunc(value, "OD"), width);
}

void put_angle_field(std::string& line, double radians, int width) {
  line.push_back(' ');
  put_fixed(line, radians * kRadToDeg, width, 5);
}

}  // namespace

SunAngles sun_angles(double jd, const RunParameters& p) {
  SunAngles s;
  RIZAR(jd, p.lambda, p.phi, p.precession, p.nutation, p.refraction, s.AZ, s.HT, s.RA, s.DE,
        s.HA, s.HeLong, s.HeLat);
  return s;
}

void put_row(std::string& line, double jd, const SunAngles& s) {
  double year = 0, month = 0, day = 0;
  OD(jd + kHalfSecond, year, month, day);
  double hour = 0, minute = 0, second = 0;
  HHMS(FRAC(day) * 24, hour, minute, second);
  put_fixed(line, jd, 13, 5);
  put_date_field(line, year, 4);
  put_date_field(line, month, 2);
  put_date_field(line, day, 2);
  put_date_field(line, hour, 2);
  put_date_field(line, minute, 2);
  put_date_field(line, second, 2);
  put_angle_field(line, s.AZ, 10);
  put_angle_field(line, s.HT, 9);
  put_angle_field(line, s.HeLong, 9);
  put_angle_field(line, s.HA, 9);
  put_angle_field(line, s.DE, 9);
  put_angle_field(line, s.RA, 9);
  line.push_back('\n');
}

void write_table(const RunParameters& p, std::ostream& out) {
  std::string chunk;
  chunk.reserve(kChunk + 128);
  chunk.append(kHeader);
  try {
    for (std::int32_t i = 0; i < p.nsteps; ++i) {
      const double jd = i * p.dt + p.jd0;
      put_row(chunk, jd, sun_angles(jd, p));
      if (chunk.size() >= kChunk) {
        out << chunk;
        chunk.clear();
        if (!out) return;
      }
    }
  } catch (const RangeError&) {
    out << chunk;
    throw;
  }
  out << chunk;
}

}  // namespace astro
