// SPDX-License-Identifier: MIT
// The readers of the astro command's option values and the writer of instants.
#include <gtest/gtest.h>

#include <date/tz.h>

#include <string>

#include "cli/output.hpp"
#include "cli/parse.hpp"
#include "core/constants.hpp"

namespace astro::cli {
namespace {

// Each form of an angle gives ((d + m / 60) + s / 3600) * kDegToRad with the text's sign,
// bit for bit; the values are the fields written in the text.
TEST(ParseAngle, AcceptedForms) {
  struct Case {
    const char* text;
    AngleKind kind;
    double d, m, s;
    int sign;
  };
  const Case kCases[] = {
      {"50.0833", AngleKind::latitude, 50.0833, -1, 0, 1},
      {"50,0833", AngleKind::latitude, 50.0833, -1, 0, 1},
      {"  +50:05:00 ", AngleKind::latitude, 50, 5, 0, 1},
      {"50:05", AngleKind::latitude, 50, 5, -1, 1},
      {"50:05.5", AngleKind::latitude, 50, 5.5, -1, 1},
      {"50 05 00", AngleKind::latitude, 50, 5, 0, 1},
      {"50\xC2\xB0" "05'00\"", AngleKind::latitude, 50, 5, 0, 1},
      {"50\xC2\xB0 05\xE2\x80\xB2 30,5\xE2\x80\xB3", AngleKind::latitude, 50, 5, 30.5, 1},
      {"50:05N", AngleKind::latitude, 50, 5, -1, 1},
      {"33:55:29 S", AngleKind::latitude, 33, 55, 29, -1},
      {"-33:55:29s", AngleKind::latitude, 33, 55, 29, -1},
      {"-0:30", AngleKind::latitude, 0, 30, -1, -1},
      {"-00:30:00", AngleKind::latitude, 0, 30, 0, -1},
      {"-0,5", AngleKind::latitude, 0.5, -1, 0, -1},
      {"90", AngleKind::latitude, 90, -1, 0, 1},
      {"14.4167E", AngleKind::longitude, 14.4167, -1, 0, 1},
      {"0:07:39W", AngleKind::longitude, 0, 7, 39, -1},
      {"-0:07:39W", AngleKind::longitude, 0, 7, 39, -1},
      {"-180", AngleKind::longitude, 180, -1, 0, -1},
      {"359:59:59.9", AngleKind::longitude, 359, 59, 59.9, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    double deg = c.d;
    if (c.m >= 0) deg = deg + c.m / 60;
    if (c.m >= 0 && c.s >= 0) deg = deg + c.s / 3600;
    const double want = c.sign * deg * kDegToRad;
    EXPECT_EQ(parse_angle(c.text, c.kind), want);
  }
  // The minus of a zero degrees field counts.
  EXPECT_LT(parse_angle("-0:30", AngleKind::latitude), 0);
}

TEST(ParseAngle, RefusedForms) {
  const struct {
    const char* text;
    AngleKind kind;
  } kCases[] = {
      {"", AngleKind::latitude},           {"   ", AngleKind::latitude},
      {"90.0001", AngleKind::latitude},    {"-90:00:01", AngleKind::latitude},
      {"360", AngleKind::longitude},       {"-180.5", AngleKind::longitude},
      {"50:60", AngleKind::latitude},      {"50:05:60", AngleKind::latitude},
      {"50.5:05", AngleKind::latitude},    {"50:05.5:10", AngleKind::latitude},
      {"1:2:3:4", AngleKind::latitude},    {"50:", AngleKind::latitude},
      {"50::05", AngleKind::latitude},     {"50:-05", AngleKind::latitude},
      {"-50N", AngleKind::latitude},       {"+14W", AngleKind::longitude},
      {"50E", AngleKind::latitude},        {"14N", AngleKind::longitude},
      {"N", AngleKind::latitude},          {"fifty", AngleKind::latitude},
      {"5e1", AngleKind::latitude},        {"50'05\xC2\xB0", AngleKind::latitude},
      {"nan", AngleKind::latitude},        {"50 05 00 00", AngleKind::latitude},
      {"--50", AngleKind::latitude},       {"50,", AngleKind::latitude},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_THROW(parse_angle(c.text, c.kind), ParseError);
  }
}

// Instants: the Julian Date is the double nearest the instant; offsets, zones and jd:.
TEST(ParseTime, Instants) {
  const date::time_zone* prague = date::locate_zone("Europe/Prague");
  struct Case {
    const char* text;
    const date::time_zone* zone;
    double want;
  };
  const Case kCases[] = {
      {"2000-01-01T12:00:00Z", nullptr, 2451545.0},
      {"2000-01-01 12:00", nullptr, 2451545.0},
      {"2000-01-01t12:00z", nullptr, 2451545.0},
      {"2000-01-01T13:30+01:30", nullptr, 2451545.0},
      {"2000-01-01T13:30:00+0130", nullptr, 2451545.0},
      {"2000-01-01T10:00-02", nullptr, 2451545.0},
      {"2000-01-01", nullptr, 2451544.5},
      {"2000-01-01T13:00", prague, 2451545.0},
      {"2000-07-01T14:00", prague, 2451727.0},
      {"2000-07-01T14:00Z", prague, 2451727.0 + 2.0 / 24},
      // 2000-01-01T12:00:00.250Z: (946728000250 + 210866760000000) / 86400000.
      {"2000-01-01T12:00:00.25Z", nullptr, 211813488000250.0 / 86400000.0},
      {"2000-01-01T12:00:00,250Z", nullptr, 211813488000250.0 / 86400000.0},
      {"jd:2461200.123456789", nullptr, 2461200.123456789},
      {"JD: 2451545", prague, 2451545.0},
      {"0000-01-01T00:00Z", nullptr, 1721059.5},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_time(c.text, c.zone), c.want);
  }
  // The repeated hour of 2026-10-25 in Prague: the earlier instant, still on +02:00.
  EXPECT_EQ(parse_time("2026-10-25 02:30", prague), parse_time("2026-10-25T00:30Z", nullptr));
  const char* const kRefused[] = {
      "2026-06-09T",       "2026-6-9",          "26-06-09",         "2026-02-29",
      "2026-06-31",        "2026-13-01",        "2026-06-09T24:00", "2026-06-09T23:60",
      "2026-06-09T23:59:60", "2026-06-09T10",   "2026-06-09T10:00:00.1234",
      "2026-06-09T10:00:00.", "2026-06-09T10:00+2", "2026-06-09T10:00+24:00",
      "2026-06-09T10:00 Z", "2026-06-09T10:00ZZ", "jd:", "jd:nan", "jd:1e300",
      "jd:1721059.4", "9999-12-31T23:30-01:00", "0000-01-01T00:30+01:00", "now",
  };
  for (const char* text : kRefused) {
    SCOPED_TRACE(text);
    EXPECT_THROW(parse_time(text, nullptr), ParseError);
  }
  EXPECT_THROW(parse_time("2026-03-29 02:30", prague), ParseError);
}

// Every millisecond of the years 0000-9999 that the series below visits survives the Julian
// Date and comes back; the stride is prime so the samples fall on every part of the day.
TEST(ParseTime, JulianDateRoundTripsToTheMillisecond) {
  std::int64_t failures = 0;
  for (std::int64_t ms = kFirstUnixMs; ms <= kLastUnixMs; ms += 315569251) {
    if (unix_ms_from_jd(jd_from_unix_ms(ms)) != ms) ++failures;
  }
  for (std::int64_t ms : {kFirstUnixMs, kFirstUnixMs + 1, std::int64_t{-1}, std::int64_t{0},
                          std::int64_t{1}, kLastUnixMs - 1, kLastUnixMs})
    EXPECT_EQ(unix_ms_from_jd(jd_from_unix_ms(ms)), ms);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(kLastJd, 5373484.5 - 1 / 86400000.0);
}

TEST(PutTime, CivilTimes) {
  struct Case {
    std::int64_t ms;
    int offset_s;
    TimeStyle style;
    const char* want;
  };
  const Case kCases[] = {
      {0, 0, {}, "1970-01-01T00:00:00.000Z"},
      {-1, 0, {}, "1969-12-31T23:59:59.999Z"},
      {kFirstUnixMs, 0, {}, "0000-01-01T00:00:00.000Z"},
      {kLastUnixMs, 0, {}, "9999-12-31T23:59:59.999Z"},
      {1781020800000, 7200, {3, 'T', false}, "2026-06-09T18:00:00.000+02:00"},
      {1781020800000, -(3 * 3600 + 1800), {3, 'T', false}, "2026-06-09T12:30:00.000-03:30"},
      {1781020800000, 3464, {0, ' ', false}, "2026-06-09 16:57:44+00:57:44"},
      {1781049599500, 0, {0, ' ', true}, "2026-06-10 00:00:00Z"},
      {1781049599499, 0, {0, ' ', true}, "2026-06-09 23:59:59Z"},
  };
  for (const Case& c : kCases) {
    char buffer[64];
    char* end = put_time(buffer, c.ms, c.offset_s, c.style);
    EXPECT_EQ(std::string(buffer, end), c.want);
  }
}

TEST(ParseDuration, Forms) {
  struct Case {
    const char* text;
    double want;
  };
  const Case kCases[] = {
      {"30s", 30 / 86400.0},   {"10min", 10 / 1440.0},      {"1h", 1 / 24.0},
      {"1d", 1.0},             {"1.5h", 1.5 / 24},          {"-1h", -1 / 24.0},
      {"1e3s", 1000 / 86400.0}, {"2 min", 2 / 1440.0},      {"0s", 0.0},
      {"00:10:00", 600 / 86400.0}, {"01:00:00", 3600 / 86400.0}, {"-00:10:00", -600 / 86400.0},
      {"-01:00", -3600 / 86400.0}, {"00:00:02.5", 2.5 / 86400.0}, {"36:00", 1.5},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_duration_days(c.text), c.want);
  }
  EXPECT_EQ(parse_duration_days("1h"), 1.0 / 24);
  for (const char* text : {"", "10", "10m", "1hh", "h", "1.5.5h", "00:60:00", "00:10:60",
                           "00:1:00", "1:00:0", "infs", "1e999d", "5000000d", "--1h", "202325002:00"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(parse_duration_days(text), ParseError);
  }
}

TEST(ParseCount, Range) {
  EXPECT_EQ(parse_count("0", 10), 0);
  EXPECT_EQ(parse_count("10", 10), 10);
  EXPECT_EQ(parse_count("9007199254740992", std::int64_t{1} << 53), std::int64_t{1} << 53);
  for (const char* text : {"", "11", "-1", "+1", "1.0", "1e3", "99999999999999999999"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(parse_count(text, 10), ParseError);
  }
}

TEST(ParseZone, NamesOfTheSystemDatabase) {
  EXPECT_EQ(parse_zone("Europe/Prague")->name(), "Europe/Prague");
  EXPECT_EQ(parse_zone("UTC")->name(), "UTC");
  EXPECT_THROW(parse_zone("Europe/Atlantis"), ParseError);
  EXPECT_THROW(parse_zone(""), ParseError);
  // Europe/Prague's table ends with the 2037 transitions; Asia/Tokyo has no more changes.
  EXPECT_EQ(zone_known_until_ms(parse_zone("Europe/Prague")), 2145916800000);
  EXPECT_EQ(zone_known_until_ms(parse_zone("Asia/Tokyo")), INT64_MAX);
}

}  // namespace
}  // namespace astro::cli
