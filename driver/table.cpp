// SPDX-License-Identifier: MIT
#include "driver/table.hpp"

#include <algorithm>
#include <memory>
#include <ostream>
#include <string_view>

#include "core/constants.hpp"
#include "driver/fortran_format.hpp"
#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

constexpr std::string_view kHeader =
    "# JD (UT)     YYYY MM DD HH MM SS   AZ        HT        HeLong    HA        DE        RA\n";

// Half a second in days: added before the calendar split so the clock time rounds.
constexpr double kHalfSecond = 5.787037037037037e-06;

// Where the angles of a row begin: after jd (13 characters), the year (a blank and 4) and
// five more date and time fields (a blank and 2 each).
constexpr std::size_t kAngleColumn = 13 + 5 + 5 * 3;

// Rows are collected in a buffer of this many bytes, then written in one piece.
constexpr std::size_t kChunk = 1 << 16;

char* write_date_field(char* out, double value, int width) {
  *out++ = ' ';
  return write_integer(out, int32_trunc(value, "OD"), width);
}

char* write_angle_field(char* out, double radians, int width) {
  *out++ = ' ';
  return write_fixed(out, radians * kRadToDeg, width, 5);
}

}  // namespace

SunPosition table_position(double jd, const RunParameters& p) {
  SunOptions options;
  options.precession = p.precession == 1;
  options.nutation = p.nutation == 1;
  options.refraction = p.refraction == 1;
  return sun_position(jd, Site{p.phi, p.lambda}, options);
}

char* write_row(char* out, double jd, const SunPosition& s) {
  double year = 0, month = 0, day = 0;
  OD(jd + kHalfSecond, year, month, day);
  // The angles go first, to their fixed columns: they do not wait for the divisions of the
  // calendar date, which proceed meanwhile.
  char* angles = out + kAngleColumn;
  angles = write_angle_field(angles, s.azimuth_south, 10);
  angles = write_angle_field(angles, s.height, 9);
  angles = write_angle_field(angles, s.ecliptic_longitude, 9);
  angles = write_angle_field(angles, s.hour_angle, 9);
  angles = write_angle_field(angles, s.declination, 9);
  angles = write_angle_field(angles, s.right_ascension, 9);
  *angles = '\n';
  double hour = 0, minute = 0, second = 0;
  HHMS(FRAC(day) * 24, hour, minute, second);
  char* date = write_fixed(out, jd, 13, 5);
  date = write_date_field(date, year, 4);
  date = write_date_field(date, month, 2);
  date = write_date_field(date, day, 2);
  date = write_date_field(date, hour, 2);
  date = write_date_field(date, minute, 2);
  write_date_field(date, second, 2);
  return out + kRowBytes;
}

void put_row(std::string& line, double jd, const SunPosition& s) {
  const std::size_t start = line.size();
  line.resize(start + kRowBytes);
  try {
    write_row(line.data() + start, jd, s);
  } catch (const RangeError&) {
    line.resize(start);
    throw;
  }
}

void write_table(const RunParameters& p, std::ostream& out) {
  // Whole rows are written straight into one buffer, which goes out when the next row
  // would not fit: nothing is allocated per row, and no row is read back soon after its
  // bytes were stored. A row that throws is never counted in.
  const std::unique_ptr<char[]> buffer(new char[kChunk]);
  char* const end = buffer.get() + kChunk;
  char* next = std::copy(kHeader.begin(), kHeader.end(), buffer.get());
  const auto flush = [&] {
    out.write(buffer.get(), next - buffer.get());
    next = buffer.get();
  };
  try {
    for (std::int32_t i = 0; i < p.nsteps; ++i) {
      const double jd = i * p.dt + p.jd0;
      const SunPosition s = table_position(jd, p);
      if (end - next < static_cast<std::ptrdiff_t>(kRowBytes)) {
        flush();
        if (!out) return;
      }
      next = write_row(next, jd, s);
    }
  } catch (const RangeError&) {
    flush();
    throw;
  }
  flush();
}

}  // namespace astro
