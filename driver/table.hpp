// SPDX-License-Identifier: MIT
// The result table: the header line and one row per instant.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "driver/dialogue.hpp"
#include "solar/sun.hpp"

namespace astro {

// The Sun's position at one instant for the site and switches of p (sun_position with the
// switches that are exactly 1 on and REFRAKCE's default air). Throws RangeError for an
// instant outside the model's range.
SunPosition table_position(double jd, const RunParameters& p);

// Length of a row with its line feed, in bytes: every field has a fixed width.
inline constexpr std::size_t kRowBytes = 95;

// Appends one row of 94 characters and its line feed: jd as fixed 13.5, the date and clock
// time of the instant rounded to the second (half a second added, then truncated), and
// azimuth from the south, height, ecliptic longitude, hour angle,
// declination and right ascension in degrees. Appends nothing when it throws RangeError (a date
// field beyond 32 bits).
void put_row(std::string& line, double jd, const SunPosition& s);

// The same row written to out[0 .. kRowBytes-1]; returns out + kRowBytes. When it throws
// RangeError, out holds part of a row.
char* write_row(char* out, double jd, const SunPosition& s);

// Writes the header and the rows for i = 0 .. nsteps - 1 at jd = i dt + jd0 (each instant
// computed from i, never accumulated). Rows go out through one buffer; when an instant is
// out of range the rows before it are written and RangeError is passed on. Stops early
// when out can no longer be written.
void write_table(const RunParameters& p, std::ostream& out);

}  // namespace astro
