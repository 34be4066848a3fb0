// SPDX-License-Identifier: MIT
// Readers of the astro command's option values: angles, instants, dates, durations, counts
// and time zones. Each returns its value or throws ParseError with the reason in words; the
// command adds the option's name, the value given and the forms accepted (see UsageError).
//
// The calendar, the validity of a date and every time-zone rule come from Howard Hinnant's
// date library on the system's IANA database (/usr/share/zoneinfo); these readers only check
// the shape of the text. Calendar dates are proleptic Gregorian (ISO 8601), years 0000-9999.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace date {
class time_zone;
}

namespace astro::cli {

// A value that does not read; what() says why, without the option's name.
class ParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A refused command line: what() is the whole message for standard error, naming the option,
// the value given and the forms the option accepts. The command ends with status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The forms each kind of value accepts, as the messages and the help list them.
inline constexpr std::string_view kAngleForms =
    "decimal degrees with a point or a comma (50.0833, 50,0833) or degrees, minutes and "
    "seconds (50:05:00, \"50 05 00\", 50°05'00\"), optionally with a hemisphere letter "
    "(50:05N, 14.4167E, 0:07:39W)";
inline constexpr std::string_view kTimeForms =
    "ISO 8601 date and time (2026-06-09T10:00:00Z, \"2026-06-09 10:00\", "
    "2026-06-09T12:00:00.250+02:00; without Z or an offset it is in --tz, else UTC) or "
    "jd:JULIAN_DATE "
    "(jd:2461200.5, UT)";
inline constexpr std::string_view kDateForms = "a calendar date YYYY-MM-DD (2026-06-09)";
inline constexpr std::string_view kDurationForms =
    "a number and a unit s, min, h or d (30s, 10min, 1.5h, 1d, -1h) or [-]HH:MM[:SS] "
    "(00:10:00, -01:00)";

// Which coordinate an angle is: its range and its hemisphere letters.
//   latitude   [-90, 90] degrees, N (north, +) or S (south, -)
//   longitude  [-180, 360) degrees, E (east, +) or W (west, -)
enum class AngleKind { latitude, longitude };

// An angle in degrees, returned in radians (times the program's 3.1415926535 / 180).
//   text  an optional sign, then decimal degrees (a point or a comma before the fraction) or
//         degrees and minutes and optionally seconds, separated by colons, blanks or the
//         marks ° ' " (′ ″ too); only the last field may have a fraction, minutes and seconds
//         lie below 60; then optionally a hemisphere letter (upper or lower case), a blank
//         before it allowed. Blanks at either end are ignored.
// The sign is that of the text, a minus on a zero degrees field included ("-0:30" is -0.5
// degrees); a sign and a letter together must agree ("-0:07:39W" is west, "-14E" is refused).
// The value is ((d + m / 60) + s / 3600) in that order, so that it equals the dialogue's
// reading of the same fields bit for bit.
double parse_angle(std::string_view text, AngleKind kind);

// An instant, as the Julian Date (UT) that the Sun's chain is given.
//   text  YYYY-MM-DD, then T, t or one blank and HH:MM, optionally :SS and up to three
//         decimals of the second, then optionally Z or an offset +HH:MM, +HHMM or +HH (or -);
//         a date alone is its midnight. Or jd: and a number (textio's grammar), used as it
//         stands.
//   zone  the zone of a time without Z or offset; nullptr for UTC
// A civil time becomes milliseconds from 1970-01-01T00:00Z, exact, and the Julian Date is
// (ms + 210866760000000) / 86400000 in one correctly rounded division, so it is the double
// nearest the instant and writing it back to the millisecond gives the time that was read.
// A local time that the zone skips (clocks moved forward) is refused; one that it repeats
// (clocks moved back) is the earlier of the two instants, the one still on daylight time.
// Years 0000-9999; a Julian Date from jd: must lie within them too (1721059.5 to 5373484.5).
double parse_time(std::string_view text, const date::time_zone* zone);

// A calendar date YYYY-MM-DD, returned as days from 1970-01-01 (negative before it).
std::int64_t parse_date(std::string_view text);

// A duration, returned in days (seconds / 86400 as one division).
//   text  a number (textio's grammar, a sign allowed) directly followed by s, min, h or d;
//         or [-]HH:MM[:SS[.fff...]] with minutes and seconds below 60; at most 10,000 years
double parse_duration_days(std::string_view text);

// A count of rows or days: decimal digits, 0 to max.
std::int64_t parse_count(std::string_view text, std::int64_t max);

// A number of textio's grammar (no unit), finite.
double parse_number(std::string_view text);

// A time zone of the system's IANA database by name (Europe/Prague, UTC); throws ParseError
// for a name that it does not hold.
const date::time_zone* parse_zone(std::string_view text);

// The Julian Date of milliseconds from 1970-01-01T00:00Z, correctly rounded: both terms of
// the quotient are whole numbers below 2^53, so they are exact as doubles.
constexpr double jd_from_unix_ms(std::int64_t unix_ms) {
  return static_cast<double>(unix_ms + 210866760000000) / 86400000.0;
}

// The instants the command handles: 0000-01-01T00:00Z to 9999-12-31T23:59:59.999Z, as
// milliseconds from 1970-01-01T00:00Z and as Julian Dates.
inline constexpr std::int64_t kFirstUnixMs = -62167219200000;
inline constexpr std::int64_t kLastUnixMs = 253402300800000 - 1;
inline constexpr double kFirstJd = jd_from_unix_ms(kFirstUnixMs);
inline constexpr double kLastJd = jd_from_unix_ms(kLastUnixMs);

// Runs a reader on an option's value and turns its ParseError into the UsageError that
// names the option, quotes the value and lists the forms accepted.
template <class Reader>
auto read_option(std::string_view option, const std::string& value, std::string_view forms,
                 Reader&& reader) {
  try {
    return reader(value);
  } catch (const ParseError& e) {
    throw UsageError(std::string(option) + ": cannot use '" + value + "': " + e.what() +
                     "; accepted: " + std::string(forms));
  }
}

}  // namespace astro::cli
