// SPDX-License-Identifier: MIT
#include "catalog/elements.hpp"

#include <cmath>
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

// Julian Date to which every decoded mean anomaly refers (J2000.0).
// Added to the two-digit year of the perihelion passage.
constexpr double kCentury1900 = 1900.0;

constexpr RealField kSemiMajorAxis{36, 10, 7};
constexpr RealField kEccentricity{46, 9, 7};
constexpr RealField kInclination{56, 8, 5};
constexpr RealField kNode{65, 9, 5};
constexpr RealField kPerihelion{75, 9, 5};
constexpr std::size_t kFormColumn = 85;
constexpr RealField kMeanAnomaly{86, 9, 5};
constexpr RealField kEpoch{96, 9, 1};
constexpr RealField kPassageYear{85, 2, 0};
constexpr RealField kPassageMonth{87, 2, 0};
constexpr RealField kPassageDay{89, 8, 5};

constexpr std::size_t kRecordWidth = 131;
constexpr std::size_t kNameLength = 9;  // characters of the object name that count
constexpr std::size_t kNameColumns = 29;

// Mean motion times the interval from t to J2000.0, radians: a^-1.5 (2451545.0 - t) k.
double motion_to_j2000(double a, double t) {
  const double p = std::pow(a, -1.5);
  return p * (kJ2000 - t) * kGaussK;
}

void require_positive_axis(double a, std::string_view line) {
  if (!(a > 0.0)) throw FieldError("semi-major axis not positive", kSemiMajorAxis, line);
}

enum class Skip { done, end, error };

// Skips the lines that hold "BEGIN", then the header line after them.
template <class Lines>
Skip skip_leading_lines(Lines& lines) {
  std::string_view line;
  for (;;) {
    const LineStatus status = lines.next(line);
    if (status == LineStatus::end) return Skip::end;
    if (status == LineStatus::error) return Skip::error;
    if (line.find("BEGIN") == std::string_view::npos) return Skip::done;
  }
}

}  // namespace

void DECODE_ELMTS(std::string_view line, ElementSet& elements) {
  ElementSet el{};
  el[element::a] = read_real(line, kSemiMajorAxis);
  el[element::e] = read_real(line, kEccentricity);
  el[element::i] = read_real(line, kInclination);
  el[element::node] = read_real(line, kNode);
  el[element::peri] = read_real(line, kPerihelion);
  el[element::i] *= kDegToRadFiles;
  el[element::peri] *= kDegToRadFiles;
  el[element::node] *= kDegToRadFiles;
  const double a = el[element::a];
  if (line.size() >= kFormColumn && line[kFormColumn - 1] == 'M') {
    const double m0 = read_real(line, kMeanAnomaly);
    const double t0 = read_real(line, kEpoch);
    require_positive_axis(a, line);
    el[element::M] = NULA2PI(motion_to_j2000(a, t0) + m0 * kDegToRadFiles);
  } else {
    const double yy = read_real(line, kPassageYear);
    const double mm = read_real(line, kPassageMonth);
    const double dd = read_real(line, kPassageDay);
    require_positive_axis(a, line);
    const double t = JD(yy + kCentury1900, mm, dd);
    el[element::M] = NULA2PI(motion_to_j2000(a, t));
  }
  elements = el;
}

namespace {

// The reading of READ_ELMTS over a source of records (BlockLines or StreamLines). The scan
// looks for the name's significant part in the first 28 columns, where it must stand for its
// blank to fall within column 29; each line it gives is tested for the whole pattern.
template <class Lines>
void read_elmts_from(Lines& lines, std::string_view object_name, ElementSet& elements,
                     std::int32_t n, std::ostream& out) {
  const Skip skip = skip_leading_lines(lines);
  if (skip == Skip::error) out << detail::kReadError << '\n';
  if (skip != Skip::done) return;
  const std::string_view name = object_name.substr(0, kNameLength);
  const std::string_view significant = name.substr(0, static_cast<std::size_t>(LENGTH(name)));
  const std::string pattern = std::string(significant) + ' ';
  std::string_view line;
  for (std::int32_t k = 0; k < n;) {
    const LineStatus status = lines.next_containing(significant, kNameColumns - 1, line);
    if (status == LineStatus::end) return;
    if (status == LineStatus::error) {
      out << detail::kReadError << '\n';
      return;
    }
    if (line.substr(0, kNameColumns).find(pattern) == std::string_view::npos) continue;
    ++k;
    DECODE_ELMTS(line, elements);
  }
}

}  // namespace

void read_elmts_lines(std::istream& in, std::string_view object_name, ElementSet& elements,
                      std::int32_t n, std::ostream& out) {
  StreamLines lines(in, kRecordWidth);
  read_elmts_from(lines, object_name, elements, n, out);
}

namespace detail {

void read_elmts_file(std::string_view file_name, std::string_view object_name,
                     ElementSet& elements, std::int32_t n, std::ostream& out, std::size_t block) {
  BlockFile input(block);
  if (!open_text_file(file_name, input.file, out)) return;
  BlockLines lines(input.file, kRecordWidth, block);
  read_elmts_from(lines, object_name, elements, n, out);
}

}  // namespace detail

void READ_ELMTS(std::string_view file_name, std::string_view object_name, ElementSet& elements,
                std::int32_t n, std::ostream& out) {
  detail::read_elmts_file(file_name, object_name, elements, n, out, BlockLines::kDefaultBlock);
}

}  // namespace astro
