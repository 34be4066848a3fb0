// SPDX-License-Identifier: MIT
#include "catalog/observations.hpp"

#include <algorithm>
#include <fstream>
#include <string>

#include "catalog/file_scan.hpp"
#include "catalog/fixed_field.hpp"
#include "catalog/text_file.hpp"
#include "core/constants.hpp"
#include "textio/lines.hpp"
#include "textio/reads.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

constexpr std::size_t kRecordWidth = 80;
constexpr std::size_t kNameLength = 7;    // characters of the object name that count
constexpr std::size_t kDesignation = 12;  // columns 1-12 hold the designation
constexpr std::size_t kTypeColumn = 15;
constexpr std::size_t kDecSignColumn = 45;

constexpr RealField kYear{16, 4, 0};
constexpr RealField kMonth{21, 2, 0};
constexpr RealField kDay{24, 8, 5};
constexpr RealField kRaHours{33, 2, 0};
constexpr RealField kRaMinutes{36, 2, 0};
constexpr RealField kRaSeconds{39, 5, 2};
constexpr RealField kDecDegrees{46, 2, 0};
constexpr RealField kDecMinutes{49, 2, 0};
constexpr RealField kDecSeconds{52, 5, 2};

struct Observation {
  double time;
  double ra;
  double dec;
};

// One accepted line, fields read in the order of the record.
Observation decode_observation(std::string_view line) {
  Observation obs{};
  const double year = read_real(line, kYear);
  const double month = read_real(line, kMonth);
  const double day = read_real(line, kDay);
  obs.time = JD(year, month, day);
  const double h = read_real(line, kRaHours);
  const double ra_m = read_real(line, kRaMinutes);
  const double ra_s = read_real(line, kRaSeconds);
  obs.ra = ((ra_s / 3600.0 + ra_m / 60.0) + h) / 12.0 * kPi;
  const double d = read_real(line, kDecDegrees);
  const double dec_m = read_real(line, kDecMinutes);
  const double dec_s = read_real(line, kDecSeconds);
  obs.dec = ((dec_s / 3600.0 + dec_m / 60.0) + d) * kDegToRadFiles;
  if (line[kDecSignColumn - 1] == '-') obs.dec = -obs.dec;
  return obs;
}

bool is_wanted(std::string_view line, std::string_view pattern) {
  return line[kTypeColumn - 1] == 'C' &&
         line.substr(0, kDesignation).find(pattern) != std::string_view::npos;
}

std::size_t capacity(std::int32_t n, std::span<double> times, std::span<double> ra,
                     std::span<double> dec) {
  if (n <= 0) return 0;
  return std::min({static_cast<std::size_t>(n), times.size(), ra.size(), dec.size()});
}

// The reading of READ_MPC over a source of records (BlockLines or StreamLines). Only lines
// that hold the pattern in columns 1-12 are looked at closely; an empty pattern passes all.
template <class Lines>
void read_mpc_from(Lines& lines, std::string_view object_name, std::span<double> times,
                   std::span<double> ra, std::span<double> dec, std::int32_t& n,
                   std::ostream& out) {
  const std::size_t room = capacity(n, times, ra, dec);
  const std::string_view name = object_name.substr(0, kNameLength);
  const std::string_view pattern = name.substr(0, static_cast<std::size_t>(LENGTH(name)));
  n = 0;
  std::string_view line;
  for (std::size_t k = 0; k < room;) {
    const LineStatus status = lines.next_containing(pattern, kDesignation, line);
    if (status == LineStatus::end) return;
    if (status == LineStatus::error) {
      out << detail::kReadError << '\n';
      return;
    }
    if (!is_wanted(line, pattern)) continue;
    const Observation obs = decode_observation(line);
    times[k] = obs.time;
    ra[k] = obs.ra;
    dec[k] = obs.dec;
    n = static_cast<std::int32_t>(++k);
  }
}

}  // namespace

void read_mpc_lines(std::istream& in, std::string_view object_name, std::span<double> times,
                    std::span<double> ra, std::span<double> dec, std::int32_t& n,
                    std::ostream& out) {
  StreamLines lines(in, kRecordWidth);
  read_mpc_from(lines, object_name, times, ra, dec, n, out);
}

namespace detail {

void read_mpc_file(std::string_view file_name, std::string_view object_name,
                   std::span<double> times, std::span<double> ra, std::span<double> dec,
                   std::int32_t& n, std::ostream& out, std::size_t block) {
  BlockFile input(block);
  if (!open_text_file(file_name, input.file, out)) {
    n = 0;
    return;
  }
  BlockLines lines(input.file, kRecordWidth, block);
  read_mpc_from(lines, object_name, times, ra, dec, n, out);
}

}  // namespace detail

void READ_MPC(std::string_view file_name, std::string_view object_name, std::span<double> times,
              std::span<double> ra, std::span<double> dec, std::int32_t& n, std::ostream& out) {
  detail::read_mpc_file(file_name, object_name, times, ra, dec, n, out, BlockLines::kDefaultBlock);
}

}  // namespace astro
