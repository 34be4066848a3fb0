// SPDX-License-Identifier: MIT
#include "cli/command.hpp"

#include <CLI/CLI.hpp>
#include <date/tz.h>

#include <cmath>

#include "cli/parse.hpp"

namespace astro::cli {

Format read_format(const std::string& value) {
  if (value == "table") return Format::table;
  if (value == "csv") return Format::csv;
  if (value == "jsonl") return Format::jsonl;
  throw UsageError("--format: cannot use '" + value + "'; accepted: table, csv, jsonl");
}

const date::time_zone* read_zone_option(const CLI::Option* option, const std::string& value) {
  if (option->count() == 0) return nullptr;
  return read_option("--tz", value,
                     "an IANA time-zone name of the system's database (Europe/Prague, "
                     "America/New_York, UTC)",
                     [](const std::string& v) { return parse_zone(v); });
}

void add_site_options(CLI::App& command, SiteOptions& site) {
  command.add_option("--lat", site.lat, "Site latitude, north positive: " + std::string(kAngleForms))
      ->required()
      ->type_name("ANGLE");
  command.add_option("--lon", site.lon, "Site longitude, east positive, -180 to 360: same forms")
      ->required()
      ->type_name("ANGLE");
}

Site read_site(const SiteOptions& options) {
  Site site{};
  site.latitude = read_option("--lat", options.lat, kAngleForms, [](const std::string& v) {
    return parse_angle(v, AngleKind::latitude);
  });
  site.longitude = read_option("--lon", options.lon, kAngleForms, [](const std::string& v) {
    return parse_angle(v, AngleKind::longitude);
  });
  return site;
}

void add_series_options(CLI::App& command, SeriesOptions& series) {
  command.add_option("--start", series.start, "First instant: " + std::string(kTimeForms))
      ->required()
      ->type_name("TIME");
  command.add_option("--step", series.step,
                     "Time between rows (default 1h): " + std::string(kDurationForms) +
                         "; negative runs backwards")
      ->type_name("DURATION");
  series.count_option =
      command.add_option("--count", series.count, "Number of rows (0: the header only)")
          ->type_name("N");
  series.end_option = command.add_option(
      "--end", series.end, "Last instant, included: rows while the instant is <= END (>= END "
                           "for a negative step); same forms as --start")
                           ->type_name("TIME");
  series.count_option->excludes(series.end_option);
  command.footer("Give exactly one of --count and --end. Row i is at jd = i * step + start, "
                 "never accumulated; the end is included. Exit status: 0 done, 1 output could "
                 "not be written, 2 bad command line (nothing written). See docs/astro.md.");
}

namespace {

void check_instant(double jd, const char* option, const std::string& value,
                   std::int64_t known_until_ms, const date::time_zone* zone) {
  if (!(jd >= kFirstJd && jd <= kLastJd))
    throw UsageError(std::string(option) + ": cannot use '" + value +
                     "': the series runs outside the years 0000-9999 (Julian Dates 1721059.5 "
                     "to 5373484.5)");
  if (zone != nullptr && unix_ms_from_jd(jd) >= known_until_ms)
    throw UsageError(std::string(option) + ": cannot use '" + value +
                     "': the system's time-zone database gives the rules of " + zone->name() +
                     " only up to 2037-12-31; leave out --tz for UTC times");
}

}  // namespace

Series read_series(const SeriesOptions& options, const date::time_zone* zone) {
  Series s{};
  s.start = read_option("--start", options.start, kTimeForms,
                        [zone](const std::string& v) { return parse_time(v, zone); });
  s.step = read_option("--step", options.step, kDurationForms,
                       [](const std::string& v) { return parse_duration_days(v); });
  const bool by_count = options.count_option->count() > 0;
  const bool by_end = options.end_option->count() > 0;
  if (by_count == by_end)
    throw UsageError("--count or --end: exactly one of them is wanted (--count N: N rows; "
                     "--end TIME: rows up to that instant)");
  const std::int64_t known_until = zone != nullptr ? zone_known_until_ms(zone) : INT64_MAX;
  if (by_count) {
    s.count = read_option("--count", options.count,
                          "a whole number of rows, 0 to 9007199254740992",
                          [](const std::string& v) { return parse_count(v, kMaxCount); });
    if (s.count > 0) {
      check_instant(s.start, "--start", options.start, known_until, zone);
      check_instant(s.at(s.count - 1), "--count", options.count, known_until, zone);
    }
    return s;
  }
  const double end = read_option("--end", options.end, kTimeForms,
                                 [zone](const std::string& v) { return parse_time(v, zone); });
  if (s.step == 0)
    throw UsageError("--step: cannot use '" + options.step +
                     "' with --end: a zero step never reaches the end; use --count");
  if ((s.step > 0 && end < s.start) || (s.step < 0 && end > s.start))
    throw UsageError("--end: cannot use '" + options.end + "': it lies " +
                     (s.step > 0 ? "before" : "after") + " --start '" + options.start +
                     "' and the step '" + options.step + "' runs " +
                     (s.step > 0 ? "forwards" : "backwards"));
  // A step below the rounding of the instants (some 4.7e-10 day at JD 2.46e6) leaves the
  // next instant on the start, and every one after it up to 2^53 rows: refused here, where
  // the end would make the series of one repeated instant that long.
  if (s.at(1) == s.start)
    throw UsageError("--step: cannot use '" + options.step +
                     "' with --end: the step is below the rounding of the instants and never "
                     "moves them towards the end");
  const auto within = [&](std::int64_t i) {
    const double jd = s.at(i);
    return s.step > 0 ? jd <= end : jd >= end;
  };
  // The number of rows: the quotient refuses a series beyond 2^53 rows at once; the count
  // itself is settled on the instants. within(i) holds for i = 0 and, as i * step + start
  // never goes back under rounding, for a first run of i only, so the count (the length of
  // that run, at most kMaxCount) is found by bisection: at most 54 halvings of
  // [1, kMaxCount]. (Walking from the quotient's estimate instead is near for steps above
  // the rounding of the instants, but a step below it, such as 1e-300 days with the end at
  // the start, leaves every instant at the start and the walk 2^53 rows long.)
  const double estimate = std::floor((end - s.start) / s.step) + 1;
  if (!(estimate <= static_cast<double>(kMaxCount)))
    throw UsageError("--end: cannot use '" + options.end + "': more than 2^53 rows");
  std::int64_t n = 1, most = kMaxCount;  // within(n - 1) holds; the count is at most `most`
  while (n < most) {                      // the interval halves: at most 54 passes
    const std::int64_t mid = n + (most - n + 1) / 2;
    if (within(mid - 1)) {
      n = mid;
    } else {
      most = mid - 1;
    }
  }
  s.count = n;
  check_instant(s.start, "--start", options.start, known_until, zone);
  check_instant(s.at(n - 1), "--end", options.end, known_until, zone);
  return s;
}

}  // namespace astro::cli
