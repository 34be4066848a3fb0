// SPDX-License-Identifier: MIT
// Whole runs of `astro sun`: its numbers against sun_position and against the dialogue
// program's table, local times across daylight-saving changes, the ends of a series, and
// the refusal of bad input.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "run_astro.hpp"
#include "solar/sun.hpp"
#include "core/constants.hpp"

namespace astro::cli {
namespace {

using testing::fields_of;
using testing::lines_of;
using testing::run_astro;
using testing::run_program;

double to_double(const std::string& s) {
  double v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  EXPECT_TRUE(r.ec == std::errc() && r.ptr == s.data() + s.size()) << s;
  return v;
}

const char* const kHeader =
    "time_utc,jd_ut,azimuth_deg,height_deg,right_ascension_deg,declination_deg,"
    "hour_angle_deg,ecliptic_longitude_deg,ecliptic_latitude_deg,distance_au";

// Every csv number is the double sun_position gives at the row's instant, times
// kRadToDeg, read back exactly; the instants are i * step + start.
TEST(AstroSun, CsvEqualsSunPositionExactly) {
  struct Case {
    const char* label;
    std::vector<std::string> extra;
    Site site;
    SunOptions options;
    bool south;
  };
  const Case kCases[] = {
      {"Prague, all corrections", {"--lat", "50:05:00", "--lon", "14:25:00E"},
       {50.0 + 5.0 / 60.0, 14.0 + 25.0 / 60.0}, {}, false},
      {"Cape Town, none, south azimuth, thin cold air",
       {"--lat", "33:55:29S", "--lon", "18,4241", "--no-precession", "--no-nutation",
        "--azimuth", "south", "--pressure", "900", "--temperature", "-5"},
       {-(33.0 + 55.0 / 60.0 + 29.0 / 3600.0), 18.4241}, {false, false, true, 900, -5}, true},
      {"just west of Greenwich, no refraction",
       {"--lat", "-0:30", "--lon", "-0:07:39", "--no-refraction"},
       {-0.5, -(7.0 / 60.0 + 39.0 / 3600.0)}, {true, true, false}, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    std::vector<std::string> args = {"sun", "--start", "2026-06-09T10:00:00Z", "--step",
                                     "37min", "--count", "50", "--format", "csv"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto r = run_astro(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = lines_of(r.out);
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[0], kHeader);
    // The site in radians as the command reads it: ((d + m / 60) + s / 3600) * kDegToRad.
    Site site = c.site;
    site.latitude *= kDegToRad;
    site.longitude *= kDegToRad;
    const double start = 2461200.9166666665;  // 2026-06-09T10:00Z, the double nearest
    const double step = 37.0 / 1440.0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const auto f = fields_of(lines[i]);
      ASSERT_EQ(f.size(), 10u) << lines[i];
      const double jd = to_double(f[1]);
      EXPECT_EQ(jd, static_cast<double>(i - 1) * step + start) << lines[i];
      const SunPosition p = sun_position(jd, site, c.options);
      const double want[8] = {(c.south ? p.azimuth_south : p.azimuth) * kRadToDeg,
                              p.height * kRadToDeg,
                              p.right_ascension * kRadToDeg,
                              p.declination * kRadToDeg,
                              p.hour_angle * kRadToDeg,
                              p.ecliptic_longitude * kRadToDeg,
                              p.ecliptic_latitude * kRadToDeg,
                              p.distance};
      for (int k = 0; k < 8; ++k) EXPECT_EQ(to_double(f[2 + k]), want[k]) << lines[i];
    }
  }
}

// The dialogue program's table for the same site and instants: every angle agrees at the
// table's 5 decimals (the printed value is the command's rounded, within half a unit).
TEST(AstroSun, AgreesWithTheDialogueTableAtFiveDecimals) {
  const std::string answers =
      "+50:05:00\n14:25:00\n2026/06/09\n10:00:00\n00:20:00\n72\n1\n1\n1\n\n";
  const auto table = run_program(ASTRO_PROGRAM_PATH, {}, answers);
  ASSERT_EQ(table.status, 0);
  std::vector<std::string> rows;
  for (const auto& line : lines_of(table.out))
    if (!line.empty() && line[0] != '#') rows.push_back(line);
  ASSERT_EQ(rows.size(), 72u);

  const auto r = run_astro({"sun", "--lat", "+50:05:00", "--lon", "14:25:00", "--start",
                            "2026-06-09 10:00", "--step", "00:20:00", "--count", "72",
                            "--azimuth", "south", "--format", "csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 73u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i]);
    // Row: JD, date and time (6 integers), AZ, HT, HeLong, HA, DE, RA.
    double jd = 0, v[6];
    int y, mo, d, h, mi, s;
    ASSERT_EQ(std::sscanf(rows[i].c_str(), "%lf %d %d %d %d %d %d %lf %lf %lf %lf %lf %lf", &jd,
                          &y, &mo, &d, &h, &mi, &s, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]),
              13);
    const auto f = fields_of(lines[i + 1]);
    ASSERT_EQ(f.size(), 10u);
    char clock[32];
    std::snprintf(clock, sizeof clock, "%04d-%02d-%02dT%02d:%02d:%02d.000Z", y, mo, d, h, mi, s);
    EXPECT_EQ(f[0], clock);
    EXPECT_NEAR(to_double(f[1]), jd, 0.5e-5 + 1e-9);
    // The command's columns in the table's order.
    const int column[6] = {2, 3, 7, 6, 5, 4};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(to_double(f[column[k]]), v[k], 0.5e-5 + 1e-9) << k;
  }
}

// The local-time column: Prague is UTC+2 in June and UTC+1 in January; rows across the
// spring change jump from 01:30+01:00 to 03:00+02:00; a repeated local time in October is
// the earlier instant, and a skipped one in March is refused.
TEST(AstroSun, LocalTimesInPragueFollowDaylightSaving) {
  struct Case {
    const char* label;
    std::string start, step, count;
    std::vector<std::string> want_utc, want_local;
  };
  const Case kCases[] = {
      {"June", "2026-06-09 12:00", "1h", "1", {"2026-06-09T10:00:00.000Z"},
       {"2026-06-09T12:00:00.000+02:00"}},
      {"January", "2026-01-15 12:00", "1h", "1", {"2026-01-15T11:00:00.000Z"},
       {"2026-01-15T12:00:00.000+01:00"}},
      {"spring change", "2026-03-29T00:30Z", "30min", "4",
       {"2026-03-29T00:30:00.000Z", "2026-03-29T01:00:00.000Z", "2026-03-29T01:30:00.000Z",
        "2026-03-29T02:00:00.000Z"},
       {"2026-03-29T01:30:00.000+01:00", "2026-03-29T03:00:00.000+02:00",
        "2026-03-29T03:30:00.000+02:00", "2026-03-29T04:00:00.000+02:00"}},
      {"autumn repeat: the first 02:30", "2026-10-25 02:30", "1h", "2",
       {"2026-10-25T00:30:00.000Z", "2026-10-25T01:30:00.000Z"},
       {"2026-10-25T02:30:00.000+02:00", "2026-10-25T02:30:00.000+01:00"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    const auto r = run_astro({"sun", "--lat", "50.0833", "--lon", "14.4167", "--tz",
                              "Europe/Prague", "--start", c.start, "--step", c.step, "--count",
                              c.count, "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = lines_of(r.out);
    ASSERT_EQ(lines.size(), c.want_utc.size() + 1);
    EXPECT_EQ(lines[0].rfind("time_utc,time_local,jd_ut,", 0), 0u) << lines[0];
    for (std::size_t i = 0; i < c.want_utc.size(); ++i) {
      const auto f = fields_of(lines[i + 1]);
      EXPECT_EQ(f[0], c.want_utc[i]);
      EXPECT_EQ(f[1], c.want_local[i]);
    }
  }
  const auto gap = run_astro({"sun", "--lat", "50", "--lon", "14", "--tz", "Europe/Prague",
                              "--start", "2026-03-29 02:30", "--count", "1"});
  EXPECT_EQ(gap.status, 2);
  EXPECT_EQ(gap.out, "");
  EXPECT_NE(gap.err.find("--start"), std::string::npos) << gap.err;
}

// The ends of a series: --count 0 writes the header alone; --end is included, backwards
// too; jd: is the instant itself, and a printed time read back gives the same jd_ut.
TEST(AstroSun, SeriesEnds) {
  const auto zero = run_astro({"sun", "--lat", "50", "--lon", "14", "--start",
                               "2026-06-09T10:00Z", "--count", "0", "--format", "csv"});
  EXPECT_EQ(zero.status, 0);
  EXPECT_EQ(zero.out, std::string(kHeader) + "\n");
  const auto zero_jsonl = run_astro({"sun", "--lat", "50", "--lon", "14", "--start",
                                     "2026-06-09T10:00Z", "--count", "0", "--format", "jsonl"});
  EXPECT_EQ(zero_jsonl.status, 0);
  EXPECT_EQ(zero_jsonl.out, "");

  struct Case {
    const char* label;
    std::string start, step, end;
    std::vector<std::string> want;
  };
  const Case kCases[] = {
      {"forwards, end included", "2026-06-09T10:00Z", "1h", "2026-06-09T12:00Z",
       {"2026-06-09T10:00:00.000Z", "2026-06-09T11:00:00.000Z", "2026-06-09T12:00:00.000Z"}},
      {"backwards", "2026-06-09T12:00Z", "-01:00:00", "2026-06-09T10:30Z",
       {"2026-06-09T12:00:00.000Z", "2026-06-09T11:00:00.000Z"}},
      {"end equal to start", "jd:2461200.5", "1d", "2026-06-09T00:00Z",
       {"2026-06-09T00:00:00.000Z"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    const auto r = run_astro({"sun", "--lat", "50", "--lon", "14", "--start", c.start,
                              "--step", c.step, "--end", c.end, "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = lines_of(r.out);
    ASSERT_EQ(lines.size(), c.want.size() + 1);
    for (std::size_t i = 0; i < c.want.size(); ++i)
      EXPECT_EQ(fields_of(lines[i + 1])[0], c.want[i]);
  }

  // A step below the rounding of the instants never moves them: with --end it is refused
  // at once (the row count once walked towards 2^53 for it), with --count it repeats the
  // start.
  const auto tiny = run_astro({"sun", "--lat", "50", "--lon", "14", "--start", "jd:2461200.5",
                               "--step", "1e-300d", "--end", "jd:2461200.5", "--format", "csv"});
  EXPECT_EQ(tiny.status, 2);
  EXPECT_EQ(tiny.out, "");
  EXPECT_NE(tiny.err.find("--step"), std::string::npos) << tiny.err;
  const auto tiny_count =
      run_astro({"sun", "--lat", "50", "--lon", "14", "--start", "jd:2461200.5", "--step",
                 "1e-300d", "--count", "2", "--format", "csv"});
  ASSERT_EQ(tiny_count.status, 0) << tiny_count.err;
  const auto tiny_lines = lines_of(tiny_count.out);
  ASSERT_EQ(tiny_lines.size(), 3u);
  EXPECT_EQ(fields_of(tiny_lines[1])[1], fields_of(tiny_lines[2])[1]);
  // A small step that does move them: every row up to the end, the end included.
  const auto fine = run_astro({"sun", "--lat", "50", "--lon", "14", "--start", "jd:2461200.5",
                               "--step", "1e-9d", "--end", "jd:2461200.50000001", "--format",
                               "csv"});
  ASSERT_EQ(fine.status, 0) << fine.err;
  EXPECT_EQ(lines_of(fine.out).size(), 1u + 11u);

  const auto jd = run_astro({"sun", "--lat", "50", "--lon", "14", "--start",
                             "jd:2461200.123456789", "--count", "1", "--format", "csv"});
  ASSERT_EQ(jd.status, 0) << jd.err;
  const auto f = fields_of(lines_of(jd.out).at(1));
  EXPECT_EQ(f[1], "2461200.123456789");
  const auto back = run_astro({"sun", "--lat", "50", "--lon", "14", "--start", f[0],
                               "--count", "1", "--format", "csv"});
  const auto g = fields_of(lines_of(back.out).at(1));
  EXPECT_EQ(g[0], f[0]);
  const auto again = run_astro({"sun", "--lat", "50", "--lon", "14", "--start", "jd:" + g[1],
                                "--count", "1", "--format", "csv"});
  EXPECT_EQ(fields_of(lines_of(again.out).at(1))[1], g[1]);
}

// Bad input: status 2, nothing on standard output, a message that names the option.
TEST(AstroSun, BadInputIsRefusedBeforeAnyOutput) {
  struct Case {
    const char* option;  // the option the message must name
    std::vector<std::pair<std::string, std::string>> changes;  // "" as value: leave it out
  };
  const Case kCases[] = {
      {"--lat", {{"--lat", "95"}}},
      {"--lat", {{"--lat", "50:61"}}},
      {"--lat", {{"--lat", "-50N"}}},
      {"--lat", {{"--lat", "50E"}}},
      {"--lat", {{"--lat", ""}}},
      {"--lon", {{"--lon", "-14E"}}},
      {"--lon", {{"--lon", "360"}}},
      {"--lon", {{"--lon", "14:25:00:00"}}},
      {"--start", {{"--start", "2026-02-30T10:00"}}},
      {"--start", {{"--start", "2026-06-09T24:00"}}},
      {"--start", {{"--start", "9 June 2026"}}},
      {"--start", {{"--start", "jd:1e9"}}},
      {"--start", {{"--start", "2026-03-29 02:30"}, {"--tz", "Europe/Prague"}}},
      {"--step", {{"--step", "10m"}}},
      {"--step", {{"--step", "0s"}, {"--count", ""}, {"--end", "2026-06-10T10:00Z"}}},
      {"--end", {{"--count", ""}, {"--end", "2026-06-09T09:00Z"}}},
      {"--end", {{"--step", "-1h"}, {"--count", ""}, {"--end", "2026-06-09T11:00Z"}}},
      {"--count", {{"--count", "-1"}}},
      {"--count", {{"--count", "2.5"}}},
      {"--count", {{"--start", "9999-12-31T00:00Z"}, {"--count", "100"}}},
      {"--count", {{"--count", ""}}},
      {"--end", {{"--end", "2026-06-10T10:00Z"}}},
      {"--tz", {{"--tz", "Mars/Olympus_Mons"}}},
      {"--tz", {{"--tz", "Europe/Prague"}, {"--start", "2040-06-09T10:00"}}},
      {"--format", {{"--format", "xml"}}},
      {"--azimuth", {{"--azimuth", "east"}}},
      {"--pressure", {{"--pressure", "-3"}}},
      {"--temperature", {{"--temperature", "hot"}}},
      {"--height", {{"--height", "1e6"}}},
      {"--frobnicate", {{"--frobnicate", "1"}}},
  };
  for (const Case& c : kCases) {
    std::vector<std::pair<std::string, std::string>> options = {
        {"--lat", "50"}, {"--lon", "14"}, {"--start", "2026-06-09T10:00Z"}, {"--count", "3"}};
    for (const auto& [name, value] : c.changes) {
      bool found = false;
      for (auto& o : options)
        if (o.first == name) o.second = value, found = true;
      if (!found) options.emplace_back(name, value);
    }
    std::vector<std::string> args = {"sun"};
    std::string joined;
    for (const auto& [name, value] : options) {
      if (value.empty()) continue;
      args.push_back(name);
      args.push_back(value);
      joined += " " + name + " '" + value + "'";
    }
    SCOPED_TRACE(joined);
    const auto r = run_astro(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.option), std::string::npos) << r.err;
  }
}

// jsonl carries the csv's keys and the same texts, times as strings, one object a line.
TEST(AstroSun, JsonLinesMatchTheCsv) {
  const std::vector<std::string> args = {"sun", "--lat", "50:05", "--lon", "14:25", "--tz",
                                         "America/New_York", "--start", "2026-03-08 01:00",
                                         "--step", "30min", "--count", "5"};
  auto csv_args = args, json_args = args;
  csv_args.insert(csv_args.end(), {"--format", "csv"});
  json_args.insert(json_args.end(), {"--format", "jsonl"});
  const auto csv = run_astro(csv_args);
  const auto json = run_astro(json_args);
  ASSERT_EQ(csv.status, 0) << csv.err;
  ASSERT_EQ(json.status, 0) << json.err;
  const auto rows = lines_of(csv.out);
  const auto objects = lines_of(json.out);
  ASSERT_EQ(rows.size(), 6u);
  ASSERT_EQ(objects.size(), 5u);
  const auto keys = fields_of(rows[0]);
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const auto f = fields_of(rows[i + 1]);
    std::string want = "{";
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (k > 0) want += ",";
      const bool text = keys[k].rfind("time_", 0) == 0;
      want += "\"" + keys[k] + "\":" + (text ? "\"" + f[k] + "\"" : f[k]);
    }
    EXPECT_EQ(objects[i], want + "}");
  }
  // New York springs forward at 02:00 EST: 01:30-05:00 is followed by 03:00-04:00.
  EXPECT_EQ(fields_of(rows[2])[1], "2026-03-08T01:30:00.000-05:00");
  EXPECT_EQ(fields_of(rows[3])[1], "2026-03-08T03:00:00.000-04:00");
}

// The help and the version go to standard output with status 0.
TEST(AstroSun, HelpAndVersion) {
  const auto help = run_astro({"sun", "--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--lat", "--lon", "--start", "--step", "--count", "--end",
                             "--height", "--tz", "--azimuth", "--no-precession",
                             "--no-nutation", "--no-refraction", "--pressure",
                             "--temperature", "--format"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  const auto version = run_astro({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("astro ", 0), 0u) << version.out;
  const auto none = run_astro({});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.out, "");
}

// Rows made on several threads are written in order: the output is byte for byte that of one
// thread, in every format, with a zone whose offset changes inside the series (Prague's
// spring change on 2026-03-29, in the third block of 4096 rows) and with a series whose
// last round is partly empty.
TEST(AstroSun, SameOutputOnAnyNumberOfThreads) {
  for (const char* format : {"csv", "table", "jsonl"}) {
    SCOPED_TRACE(format);
    const std::vector<std::string> args = {"sun", "--lat", "50:05", "--lon", "14:25",
                                           "--start", "2026-03-21T00:00:00Z", "--step", "3min",
                                           "--count", "13001", "--tz", "Europe/Prague",
                                           "--format", format};
    auto with = [&](const char* threads) {
      std::vector<std::string> a = args;
      a.insert(a.end(), {"--threads", threads});
      return run_astro(a);
    };
    const testing::RunResult one = with("1");
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_GE(lines_of(one.out).size(), 13001u);
    for (const char* threads : {"2", "3", "5"}) {
      SCOPED_TRACE(threads);
      const testing::RunResult many = with(threads);
      EXPECT_EQ(many.status, 0);
      EXPECT_TRUE(many.out == one.out);
    }
    EXPECT_TRUE(run_astro(args).out == one.out);  // the default
  }
  EXPECT_EQ(run_astro({"sun", "--lat", "0", "--lon", "0", "--start", "2026-01-01T00:00:00Z",
                       "--count", "2", "--threads", "0"}).status,
            2);
}

}  // namespace
}  // namespace astro::cli
