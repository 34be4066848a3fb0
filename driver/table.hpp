// SPDX-License-Identifier: MIT
// The result table: the header line and one row per instant.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "driver/dialogue.hpp"

namespace astro {

// The Sun's angles at one instant as RIZAR returns them, radians.
struct SunAngles {
  double AZ = 0;      // azimuth from the south through the west, [0, 2 pi]
  double HT = 0;      // height above the horizon
  double RA = 0;      // right ascension
  double DE = 0;      // declination
  double HA = 0;      // hour angle, westward
  double HeLong = 0;  // geocentric ecliptic longitude
  double HeLat = 0;   // geocentric ecliptic latitude (not printed)
};

// The angles for instant jd (Julian Date, UT) at the site and with the switches of p.
// Throws RangeError for an instant outside the model's range.
SunAngles sun_angles(double jd, const RunParameters& p);

// Length of a row with its line feed, in bytes: every field has a fixed width.
inline constexpr std::size_t kRowBytes = 95;

// Appends one row of 94 characters and its line feed: jd as fixed 13.5, the date and clock
// time of the instant rounded to the second (half a second added, then truncated), and
// AZ, HT, HeLong, HA, DE, RA in degrees. Appends nothing when it throws RangeError (a date
// field beyond 32 bits).
void put_row(std::string& line, double jd, const SunAngles& s);

// The same row written to out[0 .. kRowBytes-1]; returns out + kRowBytes. When it throws
// RangeError, out holds part of a row.
char* write_row(char* out, double jd, const SunAngles& s);

// Writes the header and the rows for i = 0 .. nsteps - 1 at jd = i dt + jd0 (each instant
// computed from i, never accumulated). Rows go out through one buffer; when an instant is
// out of range the rows before it are written and RangeError is passed on. Stops early
// when out can no longer be written.
void write_table(const RunParameters& p, std::ostream& out);

}  // namespace astro
