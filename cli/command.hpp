// SPDX-License-Identifier: MIT
// What the astro command's subcommands share: how each adds itself to the command line,
// the output formats, and the series of instants of `sun` and `ephemeris`.
//
// A subcommand is one function in one file (cli/sun.cpp, cli/events.cpp, ...): it adds its
// options to the command line and, when it is the one chosen, sets the action that main()
// runs once the whole line has been read. The action reads every option value first and
// throws UsageError before it writes anything, so bad input never leaves partial output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cli/output.hpp"
#include "solar/sun.hpp"

namespace CLI {
class App;
class Option;
}  // namespace CLI
namespace date {
class time_zone;
}

namespace astro::cli {

// The chosen subcommand's work: writes to the output and returns the exit status.
using Action = std::function<int(Output&)>;

void add_sun_command(CLI::App& root, Action& action);
void add_events_command(CLI::App& root, Action& action);
void add_ephemeris_command(CLI::App& root, Action& action);
// Built with the orbit fit (ASTRO_BUILD_FIT): cli/orbit.cpp.
void add_orbit_command(CLI::App& root, Action& action);

// --format: table for people (the default), csv with a header line, jsonl one object a line.
enum class Format { table, csv, jsonl };
Format read_format(const std::string& value);

// --tz: nullptr when the option was not given (UTC, and no local-time column).
const date::time_zone* read_zone_option(const CLI::Option* option, const std::string& value);

// The site of a subcommand, as given: --lat and --lon, both required.
struct SiteOptions {
  std::string lat, lon;
};

// Adds --lat and --lon to a subcommand.
void add_site_options(CLI::App& command, SiteOptions& site);

// The site of --lat and --lon, radians, at height 0; refuses a value as read_option does.
Site read_site(const SiteOptions& site);

// The options of a series of instants, as given.
struct SeriesOptions {
  std::string start;
  std::string step = "1h";
  std::string count;
  std::string end;
  CLI::Option* count_option = nullptr;
  CLI::Option* end_option = nullptr;
};

// Adds --start, --step, --count and --end to a subcommand.
void add_series_options(CLI::App& command, SeriesOptions& series);

// A series of instants: row i at jd = i * step + start (never accumulated), i < count.
struct Series {
  double start;  // Julian Date, UT
  double step;   // days
  std::int64_t count;
  double at(std::int64_t i) const { return static_cast<double>(i) * step + start; }
};

// Reads the series options: exactly one of --count and --end; with --end the rows are those
// whose instant is <= end (>= end for a negative step), the end included, and an end that
// lies before the start for the step's direction, or a zero step, is refused. Every instant
// must lie within the years 0000-9999 and, with a zone, within what the zone's database
// knows (zone_known_until_ms).
Series read_series(const SeriesOptions& options, const date::time_zone* zone);

// The greatest --count accepted: i * step stays exact in i up to 2^53.
inline constexpr std::int64_t kMaxCount = std::int64_t{1} << 53;

}  // namespace astro::cli
