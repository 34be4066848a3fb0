// SPDX-License-Identifier: MIT
#include "catalog/optical_observations.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "catalog/decimal.hpp"
#include "catalog/file_scan.hpp"
#include "catalog/fixed_field.hpp"
#include "catalog/text_file.hpp"
#include "textio/lines.hpp"

namespace astro {

namespace {

constexpr std::size_t kRecordWidth = 80;
constexpr std::size_t kDesignation = 12;  // columns 1-12 hold the designation
constexpr std::size_t kNote2Column = 15;
constexpr std::size_t kDecSignColumn = 45;

// Column spans of the fields (first column, width); decimals are those the line gives.
constexpr RealField kNumberField{1, 5, 0};
constexpr RealField kProvisionalField{6, 7, 0};
constexpr RealField kDateField{16, 17, 0};
constexpr RealField kRaField{33, 12, 0};
constexpr RealField kDecField{46, 11, 0};
constexpr RealField kCodeField{78, 3, 0};

// Julian Date of 1970-01-01 at 0h, the origin of std::chrono::sys_days.
constexpr double kJdUnixEpoch = 2440587.5;
// Seconds of time to radians and arcseconds to radians, with the full double of pi.
constexpr double kTimeSecondToRad = std::numbers::pi / 43200.0;
constexpr double kArcsecToRadExact = std::numbers::pi / 648000.0;

std::string_view columns(std::string_view line, const RealField& field) {
  return line.substr(field.column - 1, field.width);
}

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// The proleptic Gregorian calendar of the standard library: a year_month_day of the line's
// year (0 to 9999) and month.
std::chrono::year_month_day civil(std::int64_t y, int m, std::int64_t d) {
  return std::chrono::year{static_cast<int>(y)} / std::chrono::month{static_cast<unsigned>(m)} /
         std::chrono::day{static_cast<unsigned>(d)};
}

int days_in_month(std::int64_t y, int m) {
  const auto last = std::chrono::year{static_cast<int>(y)} /
                    std::chrono::month{static_cast<unsigned>(m)} / std::chrono::last;
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

// The numbers of a field, separated by blanks: each digits with at most one point (all but
// the last without one), at most max_count of them; in a coordinate field the k-th starts
// in the field's column 3k + 1. Anything else is a FieldError.
struct Parts {
  std::array<double, 3> value{};
  std::size_t count = 0;
};

Parts split_numbers(std::string_view line, const RealField& field, std::size_t max_count) {
  const std::string_view text = columns(line, field);
  Parts parts;
  std::size_t pos = 0;
  bool point_seen = false;
  while (pos < text.size()) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    std::size_t end = pos;
    while (end < text.size() && text[end] != ' ') ++end;
    const std::string_view item = text.substr(pos, end - pos);
    std::size_t points = 0;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    std::int64_t m = 0;  // the digits as an integer, while there are at most 15
    for (char c : item) {
      if (c == '.') {
        ++points;
      } else if (c >= '0' && c <= '9') {
        if (++digits <= detail::kExactDigits) m = m * 10 + (c - '0');
        decimals += points;
      } else {
        throw FieldError("not a number", field, line);
      }
    }
    // The k-th number starts in the field's column 3k + 1: "HH MM SS.ddd", "DD MM SS.dd".
    if (digits == 0 || points > 1 || point_seen || parts.count == max_count ||
        (field.column != kDateField.column && pos != 3 * parts.count))
      throw FieldError("not a number", field, line);
    point_seen = points == 1;
    double value = 0.0;
    if (digits <= detail::kExactDigits) {
      value = detail::scaled_decimal(m, decimals);
    } else {
      const auto result = std::from_chars(item.data(), item.data() + item.size(), value);
      if (result.ec != std::errc() || result.ptr != item.data() + item.size())
        throw FieldError("not a number", field, line);
    }
    parts.value[parts.count++] = value;
    pos = end;
  }
  if (parts.count == 0) throw FieldError("no number", field, line);
  return parts;
}

// h m s (or h m.m, or h.h) to seconds of the unit; the leading numbers must be whole and
// every number after the first below 60.
double sexagesimal_seconds(const Parts& parts, double first_limit, std::string_view line,
                           const RealField& field) {
  static constexpr std::array<double, 3> kScale{3600.0, 60.0, 1.0};
  double total = 0.0;
  for (std::size_t k = 0; k < parts.count; ++k) {
    const double v = parts.value[k];
    if (k + 1 < parts.count && v != static_cast<double>(static_cast<std::int64_t>(v)))
      throw FieldError("not a whole number", field, line);
    const double limit = k == 0 ? first_limit : 60.0;
    if (!(v < limit)) throw FieldError("value out of range", field, line);
    total += v * kScale[k];  // exact for the whole parts; one rounding for the fraction
  }
  return total;
}

double julian_date(std::string_view line) {
  const Parts date = split_numbers(line, kDateField, 3);
  if (date.count != 3) throw FieldError("not a date", kDateField, line);
  const double year = date.value[0];
  const double month = date.value[1];
  const double day = date.value[2];
  // Each range before its cast: a field of digits may hold a month of 3e9.
  if (year > 9999.0 || year != static_cast<double>(static_cast<std::int64_t>(year)) ||
      month < 1.0 || month > 12.0 || month != static_cast<double>(static_cast<int>(month)))
    throw FieldError("not a date", kDateField, line);
  const auto y = static_cast<std::int64_t>(year);
  const int m = static_cast<int>(month);
  if (!(day >= 1.0 && day < days_in_month(y, m) + 1.0))
    throw FieldError("day out of range", kDateField, line);
  const auto whole = static_cast<std::int64_t>(day);
  const double fraction = day - static_cast<double>(whole);  // exact
  const double jd0 = kJdUnixEpoch + static_cast<double>(
      std::chrono::sys_days{civil(y, m, whole)}.time_since_epoch().count());
  return jd0 + fraction;
}

bool number_matches(std::string_view packed, std::string_view name) {
  if (name.size() > 5 || name.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  std::string padded(5 - name.size(), '0');
  padded += name;
  return packed == padded;
}

bool object_matches(std::string_view line, std::string_view name) {
  if (name.empty()) return true;
  const std::string_view number = trim(columns(line, kNumberField));
  const std::string_view provisional = trim(columns(line, kProvisionalField));
  const std::string_view whole = trim(line.substr(0, kDesignation));
  return name == number || name == provisional || name == whole ||
         (!number.empty() && number_matches(number, name));
}

Observation decode(std::string_view line) {
  Observation obs;
  obs.designation = std::string(trim(line.substr(0, kDesignation)));
  obs.note2 = line[kNote2Column - 1];
  obs.jd_utc = julian_date(line);
  obs.ra = sexagesimal_seconds(split_numbers(line, kRaField, 3), 24.0, line, kRaField) *
           kTimeSecondToRad;
  obs.dec = sexagesimal_seconds(split_numbers(line, kDecField, 3), 91.0, line, kDecField) *
            kArcsecToRadExact;
  if (!(obs.dec <= std::numbers::pi / 2)) throw FieldError("value out of range", kDecField, line);
  if (line[kDecSignColumn - 1] == '-') obs.dec = -obs.dec;
  obs.observatory = std::string(trim(columns(line, kCodeField)));
  return obs;
}

// Room for n observations (n above the size) in a new block of memory, the ones held moved
// into it. On Linux the block is first marked for transparent huge pages (taken where the
// system's setting is "madvise", Debian's default, or "always"; ignored under "never"): a
// million observations fill 96 MB, and writing them into fresh 4 KiB pages, one page fault
// each, cost more than reading and decoding the file.
void grow(std::vector<Observation>& result, std::size_t n) {
  std::vector<Observation> grown;
  grown.reserve(n);
#ifdef __linux__
  constexpr std::uintptr_t kHugePage = std::uintptr_t{1} << 21;
  const auto begin = reinterpret_cast<std::uintptr_t>(grown.data());
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + n * sizeof(Observation)) & ~(kHugePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
  grown.insert(grown.end(), std::make_move_iterator(result.begin()),
               std::make_move_iterator(result.end()));
  result.swap(grown);
}

// The reading of read_observations over a source of records (BlockLines or StreamLines).
// The name, when given, stands in the bytes of columns 1-12 of every line it matches (as the
// number, the designation or the whole field, and as the tail of a number written with
// leading zeros), so the scan looks only at lines that hold it there.
//   file_size  bytes of the file, or 0 when not known (a stream): with it a vector of a
//              thousand entries or more grows, by grow, to the count projected from the
//              share of the file read so far (at least twice and at most 64 times what it
//              holds), so that a file of many matches is not copied again and again as the
//              vector doubles
template <class Lines>
std::vector<Observation> read_from(Lines& lines, std::string_view object_name,
                                   std::string_view note2_codes, std::string_view source,
                                   std::uint64_t file_size = 0) {
  const std::string_view name = trim(object_name);
  std::vector<Observation> result;
  std::string_view line;
  for (;;) {
    const LineStatus status = lines.next_containing(name, kDesignation, line);
    if (status == LineStatus::end) break;
    if (status == LineStatus::error)
      throw ObservationFileError("error reading observation file " + std::string(source));
    if (note2_codes.find(line[kNote2Column - 1]) == std::string_view::npos) continue;
    if (!object_matches(line, name)) continue;
    if constexpr (requires { lines.bytes_taken(); }) {
      if (result.size() == result.capacity() && result.size() >= 1024 && file_size > 0) {
        const double share =
            static_cast<double>(lines.bytes_taken()) / static_cast<double>(file_size);
        const double held = static_cast<double>(result.size());
        const double projected = std::min(1.05 * held / std::max(share, 1e-9), 64 * held);
        grow(result, static_cast<std::size_t>(std::max(projected, 2 * held)) + 16);
      }
    }
    result.push_back(decode(line));
  }
  return result;
}

}  // namespace

namespace detail {

std::vector<Observation> read_observations_file(std::string_view file_name,
                                                std::string_view object_name,
                                                std::string_view note2_codes, std::size_t block) {
  const std::string name(file_name);
  detail::BlockFile input(block);
  std::error_code ec;
  // A directory opens on some systems and fails only at the first read: refuse it here; a
  // name holding a NUL byte names no file.
  if (name.find('\0') == std::string::npos && !std::filesystem::is_directory(name, ec))
    input.file.open(name, std::ios::in | std::ios::binary);
  if (!input.file.is_open()) throw ObservationFileError("cannot open observation file " + name);
  const std::uint64_t size = std::filesystem::file_size(name, ec);
  BlockLines lines(input.file, kRecordWidth, block);
  return read_from(lines, object_name, note2_codes, name, ec ? 0 : size);
}

}  // namespace detail

std::vector<Observation> read_observations(std::string_view file_name, std::string_view object_name,
                                           std::string_view note2_codes) {
  return detail::read_observations_file(file_name, object_name, note2_codes,
                                        BlockLines::kDefaultBlock);
}

std::vector<Observation> read_observations(std::istream& in, std::string_view object_name,
                                           std::string_view note2_codes) {
  StreamLines lines(in, kRecordWidth);
  return read_from(lines, object_name, note2_codes, "stream");
}

}  // namespace astro
