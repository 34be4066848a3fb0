// SPDX-License-Identifier: MIT
// Optical astrometry of one object from a file in the Minor Planet Center's 80-column
// format, every digit of the date and the coordinates kept, with the observatory code and
// the observation type of each line.
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace astro {

// One observation line: the designation (columns 1-12, blanks around it dropped), the
// instant as a UTC Julian Date, the right ascension and declination in radians in the
// file's frame (J2000.0, astrometric: no precession, aberration or parallax applied), the
// observation type (note 2, column 15) and the observatory code (columns 78-80).
struct Observation {
  std::string designation;
  double jd_utc;
  double ra;
  double dec;
  char note2;
  std::string observatory;
};

// Raised when an observation file cannot be opened or read.
class ObservationFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The observation types kept by default: CCD ("C") and CMOS ("B").
inline constexpr std::string_view kDefaultNote2 = "CB";

// read_observations: the observations of one object, one record per accepted line, in
// file order.
//   file_name    opened as bytes; used whole
//   object_name  blanks around it dropped. Empty: every line of an accepted type. Otherwise
//                it must equal the packed number (columns 1-5) or the provisional or
//                temporary designation (columns 6-12), blanks dropped, or the whole
//                designation field; a name of one to five digits also matches the number
//                written with leading zeros ("433" matches "00433", not "04433")
//   note2_codes  the observation types (column 15) to keep, e.g. "C", "CB", "CBA"
// Lines are read as bytes into 80 columns (one trailing carriage return dropped, padded or
// cut). Fields: date 16-32 "YYYY MM DD.dddddd", right ascension 33-44 "HH MM SS.ddd",
// declination sign 45 and 46-56 "DD MM SS.dd", observatory 78-80. Each coordinate field
// holds one to three numbers separated by blanks (hours, minutes, seconds; a last number may
// carry decimals, so "21 33.8" is 21h 33.8m), with as many decimals as the line gives.
// Conversions, exact up to one rounding each: the Julian Date is that of 0h of the calendar
// date (proleptic Gregorian, exact integer arithmetic) plus the day with its fraction;
// right ascension = (3600 h + 60 m + s) * (pi / 43200), declination = (3600 d + 60 m + s) *
// (pi / 648000), with pi the full double std::numbers::pi (not the program's 3.1415926535),
// negated when column 45 holds "-".
// Errors are reported by exceptions, nothing is printed: ObservationFileError (message
// "cannot open observation file NAME" or "error reading observation file NAME") when the
// file cannot be opened or a read fails; FieldError (catalog/fixed_field.hpp) naming the
// columns and quoting the line for an accepted line whose date or coordinates do not hold
// numbers, or whose month, day, minutes or seconds are out of range.
std::vector<Observation> read_observations(std::string_view file_name, std::string_view object_name,
                                           std::string_view note2_codes = kDefaultNote2);

// The same on a stream the caller has opened, from its current position; a read failure
// throws ObservationFileError naming "stream".
std::vector<Observation> read_observations(std::istream& in, std::string_view object_name,
                                           std::string_view note2_codes = kDefaultNote2);

}  // namespace astro
