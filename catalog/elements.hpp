// SPDX-License-Identifier: MIT
// Orbital elements from fixed-column catalogue lines and catalogue files.
#pragma once

#include <cstdint>
#include <iostream>
#include <string_view>

#include "core/types.hpp"

namespace astro {

// DECODE_ELMTS: the elements of one catalogue line, with the mean anomaly brought to
// JD 2451545.0.
//   line      the record, columns from 1; a line shorter than 105 reads as if padded with
//             blanks. Fields (real w.d, blanks ignored, last d digits decimals without a
//             point): a 36-45 (10.7, AU), e 46-54 (9.7), i 56-63 (8.5, degrees), node 65-73
//             (9.5, degrees), peri 75-83 (9.5, degrees); columns 55, 64, 74 and 84 are never
//             read. Column 85 holding a capital "M" selects M0 86-94 (9.5, degrees) and its
//             epoch 96-104 (9.1, Julian Date); any other character (a small "m" too) selects
//             the perihelion passage: year - 1900 in 85-86 (2.0, always the 1900s: "05" and
//             " 5" are 1905), month 87-88 (2.0), day 89-96 (8.5).
//   elements  written: a (AU) and e as read; i, peri and node times 0.017453292, radians,
//             not reduced, in the catalogue's frame (no change of frame or equinox); M =
//             NULA2PI(M0 * 0.017453292 + a^-1.5 (2451545.0 - T0) 0.01720209895), or with
//             M0 = 0 and T0 the Julian Date of perihelion, radians in [0, 6.283185307].
// Values are not tested for plausibility (e >= 1 or a month of 13 pass). Throws FieldError
// (see catalog/fixed_field.hpp) for a field that holds no number and, once the fields of
// the line's form are read, for a semi-major axis of zero or less ("columns 36-45");
// RangeError when JD or NULA2PI cannot place the result (a tiny a, a huge date). On a
// throw the elements are not touched.
void DECODE_ELMTS(std::string_view line, ElementSet& elements);

// READ_ELMTS: the elements of the n-th catalogue line that carries an object's name.
//   file_name    used whole, trailing blanks dropped
//   object_name  its first 9 characters, up to the last non-blank one, and one blank make
//                the pattern; it must lie whole within columns 1-29 of a line, starting
//                anywhere ("1P" finds "21P Brorsen", the blank after a name ending in column
//                29 stands outside); case-sensitive; an all-blank name finds any line with a
//                blank in columns 1-29
//   elements     written by DECODE_ELMTS for each match up to the n-th, so it holds the n-th
//                match, or the last when there are fewer; untouched when none matches
//   n            which match to take, 1 for the first; 0 or less decodes nothing
//   out          receives " Cannot open file NAME." or " Error reading input."
// Each line is read as bytes into 131 columns (one trailing carriage return dropped, padded
// with blanks or cut). Leading lines holding "BEGIN" anywhere in those columns are skipped,
// then the next line, a header, which is never searched. The file is opened first whatever
// n is, and closed on every return. Exceptions of DECODE_ELMTS pass through; the elements
// then hold the match before the faulty line.
void READ_ELMTS(std::string_view file_name, std::string_view object_name, ElementSet& elements,
                std::int32_t n, std::ostream& out = std::cout);

// READ_ELMTS on a stream the caller has opened (a file, a string held in memory): the same
// reading from the stream's current position, BEGIN lines and header included, without
// opening or closing anything.
void read_elmts_lines(std::istream& in, std::string_view object_name, ElementSet& elements,
                      std::int32_t n, std::ostream& out = std::cout);

}  // namespace astro
