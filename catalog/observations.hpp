// SPDX-License-Identifier: MIT
// Astrometric observations of one object from a file in the Minor Planet Center's 80-column
// format for optical observations.
#pragma once

#include <cstdint>
#include <iostream>
#include <span>
#include <string_view>

namespace astro {

// READ_MPC: the CCD observations of one object, in file order, as Julian Dates and
// right ascensions and declinations in radians.
//   file_name    used whole, trailing blanks dropped
//   object_name  its first 7 characters, up to the last non-blank one, are searched for as
//                a plain substring of columns 1-12 (so "433" also matches "04433"); a name
//                with no significant character matches every CCD line
//   times        written: Julian Dates of the instants as the file writes them (UTC), no
//                change of time scale
//   ra, dec      written: right ascension ((s / 3600 + m / 60) + h) / 12 * 3.1415926535 and
//                declination ((s / 3600 + m / 60) + d) * 0.017453292, radians, in the
//                file's frame (J2000.0); no precession, aberration or parallax. The
//                declination is negated when column 45 holds "-" ("-00 30" is -0.5 degrees)
//   n            on entry the capacity; on return the number of entries 0..n-1 written
//                (0 when the file cannot be opened, the number stored before a read error)
//   out          receives " Cannot open file NAME." or " Error reading input."
// Only lines with "C" in column 15 are taken. Each line is read as bytes into 80 columns
// (one trailing carriage return dropped, padded with blanks or cut); the fields read are
// year 16-19, month 21-22, day 24-31 (real 8.5: a sixth decimal in column 32 is ignored),
// RA hours 33-34, minutes 36-37, seconds 39-43 (real 5.2: column 44 is ignored), sign 45,
// Dec degrees 46-47, arcminutes 49-50, arcseconds 52-56 (real 5.2). Values are not tested
// for range. The capacity is n, but never more than the smallest of the three spans; n of
// 0 or less reads no line. The file is opened first whatever n is, and closed on every
// return.
// Throws FieldError (see catalog/fixed_field.hpp) for an accepted line whose field holds no
// number, and RangeError when JD cannot place the date; n then counts the observations
// stored before that line.
void READ_MPC(std::string_view file_name, std::string_view object_name, std::span<double> times,
              std::span<double> ra, std::span<double> dec, std::int32_t& n,
              std::ostream& out = std::cout);

// READ_MPC on a stream the caller has opened (a file, a string held in memory): the same
// reading from the stream's current position, without opening or closing anything.
void read_mpc_lines(std::istream& in, std::string_view object_name, std::span<double> times,
                    std::span<double> ra, std::span<double> dec, std::int32_t& n,
                    std::ostream& out = std::cout);

}  // namespace astro
