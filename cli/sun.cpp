// SPDX-License-Identifier: MIT
// astro sun: the Sun's position for a site at a series of instants, one row each, from
// sun_position.
#include <CLI/CLI.hpp>
#include <date/tz.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/blocks.hpp"
#include "cli/command.hpp"
#include "cli/parse.hpp"
#include "cli/table.hpp"
#include "solar/sun.hpp"
#include "core/constants.hpp"

namespace astro::cli {

namespace {

struct SunArgs {
  SiteOptions site;
  std::string height = "0", tz, azimuth = "north", pressure = "1013.25",
                        temperature = "10", format = "table";
  bool no_precession = false, no_nutation = false, no_refraction = false;
  unsigned threads = 0;  // 0: the machine's cores for a series long enough to gain
  SeriesOptions series;
  CLI::Option* tz_option = nullptr;
};

// The numbers of one row, in the order of the columns.
constexpr int kColumns = 9;
constexpr const char* kKeys[kColumns] = {
    "azimuth_deg",          "height_deg",           "right_ascension_deg",
    "declination_deg",      "hour_angle_deg",       "ecliptic_longitude_deg",
    "ecliptic_latitude_deg", "distance_au",         nullptr};

int run_sun(const SunArgs& a, Output& out) {
  // Every value is read before anything is written.
  Site site = read_site(a.site);
  site.height = read_option("--height", a.height, "metres above sea level, -500 to 10000",
                            [](const std::string& v) {
                              const double h = parse_number(v);
                              if (!(h >= -500 && h <= 10000))
                                throw ParseError("the height must lie within -500 to 10000 m");
                              return h;
                            });
  SunOptions options;
  options.precession = !a.no_precession;
  options.nutation = !a.no_nutation;
  options.refraction = !a.no_refraction;
  options.pressure_hpa = read_option(
      "--pressure", a.pressure, "air pressure in hectopascals, 0 to 1200",
      [](const std::string& v) {
        const double p = parse_number(v);
        if (!(p >= 0 && p <= 1200)) throw ParseError("the pressure must lie within 0 to 1200 hPa");
        return p;
      });
  options.temperature_c = read_option(
      "--temperature", a.temperature, "air temperature in degrees Celsius, -100 to 100",
      [](const std::string& v) {
        const double t = parse_number(v);
        if (!(t >= -100 && t <= 100))
          throw ParseError("the temperature must lie within -100 to 100 degrees C");
        return t;
      });
  bool south = false;
  if (a.azimuth == "south") south = true;
  else if (a.azimuth != "north")
    throw UsageError("--azimuth: cannot use '" + a.azimuth +
                     "'; accepted: north (from north through east, the default) or south "
                     "(from south through west, as the dialogue program counts)");
  const Format format = read_format(a.format);
  const date::time_zone* zone = read_zone_option(a.tz_option, a.tz);
  const Series series = read_series(a.series, zone);

  const TimeStyle utc_iso{3, 'T', true};
  const TimeStyle local_iso{3, 'T', false};
  const TimeStyle utc_table{0, ' ', true};
  const TimeStyle local_table{0, ' ', false};
  ZoneClock clock(zone);

  if (format == Format::csv) {
    out.put(zone ? "time_utc,time_local,jd_ut" : "time_utc,jd_ut");
    for (int c = 0; kKeys[c] != nullptr; ++c) {
      out.put(",");
      out.put(kKeys[c]);
    }
    out.put("\n");
  } else if (format == Format::table) {
    TableHeader header;
    header.text("time UTC", "", 21);
    if (zone) header.text("local time", zone->name(), 28);
    header.number("jd", "UT", 13);
    header.number(south ? "azimuth S" : "azimuth N", "deg", 11);
    header.number("height", "deg", 10);
    header.number("RA", "deg", 11);
    header.number("Dec", "deg", 10);
    header.number("hour angle", "deg", 11);
    header.number("ecl. long.", "deg", 11);
    header.number("ecl. lat.", "deg", 10);
    header.number("distance", "au", 11);
    header.write(out);
  }

  // Row i of the series at p (at most 512 bytes); clock is the zone cache of the caller.
  const auto render = [&](std::int64_t i, ZoneClock& clock, char* p) {
    const double jd = series.at(i);
    const SunPosition pos = sun_position(jd, site, options);
    const double deg[kColumns - 1] = {
        (south ? pos.azimuth_south : pos.azimuth) * kRadToDeg,
        pos.height * kRadToDeg,
        pos.right_ascension * kRadToDeg,
        pos.declination * kRadToDeg,
        pos.hour_angle * kRadToDeg,
        pos.ecliptic_longitude * kRadToDeg,
        pos.ecliptic_latitude * kRadToDeg,
        pos.distance};
    const std::int64_t ms = unix_ms_from_jd(jd);
    const int offset = zone ? clock.offset_s(ms) : 0;
    if (format == Format::csv) {
      p = put_time(p, ms, 0, utc_iso);
      if (zone) {
        *p++ = ',';
        p = put_time(p, ms, offset, local_iso);
      }
      *p++ = ',';
      p = put_double(p, jd);
      for (double v : deg) {
        *p++ = ',';
        p = put_double(p, v);
      }
    } else if (format == Format::jsonl) {
      p = put_literal(p, "{\"time_utc\":\"");
      p = put_time(p, ms, 0, utc_iso);
      if (zone) {
        p = put_literal(p, "\",\"time_local\":\"");
        p = put_time(p, ms, offset, local_iso);
      }
      p = put_literal(p, "\",\"jd_ut\":");
      p = put_double(p, jd);
      for (int c = 0; c < kColumns - 1; ++c) {
        *p++ = ',';
        *p++ = '"';
        p = put_literal(p, kKeys[c]);
        *p++ = '"';
        *p++ = ':';
        p = put_double(p, deg[c]);
      }
      *p++ = '}';
    } else {
      char* column = p;
      p = put_time(p, ms, 0, utc_table);
      p = pad_to(column, p, 21);
      if (zone) {
        column = p;
        p = put_time(p, ms, offset, local_table);
        p = pad_to(column, p, 28);
      }
      p = put_fixed(p, jd, 5);
      static constexpr int kWidths[kColumns - 1] = {11, 10, 11, 10, 11, 11, 10, 11};
      for (int c = 0; c < kColumns - 1; ++c)
        p = put_right(p, deg[c], c == kColumns - 2 ? 7 : 5, kWidths[c]);
    }
    *p++ = '\n';
    return p;
  };
  unsigned threads = a.threads;
  if (threads == 0) {
    threads = series.count >= 2 * kRowsPerBlock ? std::thread::hardware_concurrency() : 1;
  }
  if (threads <= 1 || series.count <= kRowsPerBlock) {
    for (std::int64_t i = 0; i < series.count; ++i) out.commit(render(i, clock, out.reserve(512)));
    return 0;
  }
  produce_in_blocks(series.count, threads, out, [&](std::int64_t first, std::int64_t last,
                                                    std::string& text) {
    ZoneClock block_clock(zone);
    char row[512];
    for (std::int64_t i = first; i < last; ++i) {
      const char* end = render(i, block_clock, row);
      text.append(row, static_cast<std::size_t>(end - row));
    }
  });
  return 0;
}

}  // namespace

void add_sun_command(CLI::App& root, Action& action) {
  auto a = std::make_shared<SunArgs>();
  CLI::App* cmd = root.add_subcommand(
      "sun", "The Sun's position for a site at a series of instants, one row each");
  add_site_options(*cmd, a->site);
  add_series_options(*cmd, a->series);
  cmd->add_option("--height", a->height,
                  "Site height in metres (default 0; the Sun's position does not depend on it)")
      ->type_name("M");
  a->tz_option = cmd->add_option(
      "--tz", a->tz,
      "Time zone of times without Z or an offset (default UTC); adds a local-time column")
      ->type_name("ZONE");
  cmd->add_option("--azimuth", a->azimuth,
                  "north: azimuth from north through east (default); south: from south "
                  "through west")
      ->type_name("north|south");
  cmd->add_flag("--no-precession", a->no_precession, "Leave precession out (J2000.0 equator)");
  cmd->add_flag("--no-nutation", a->no_nutation, "Leave nutation out (mean equator)");
  cmd->add_flag("--no-refraction", a->no_refraction, "Leave refraction out (geometric height)");
  cmd->add_option("--pressure", a->pressure, "Air pressure for refraction, hPa (default 1013.25)")
      ->type_name("HPA");
  cmd->add_option("--temperature", a->temperature,
                  "Air temperature for refraction, degrees C (default 10)")
      ->type_name("C");
  cmd->add_option("--format", a->format, "table (default), csv or jsonl")
      ->type_name("table|csv|jsonl");
  cmd->add_option("--threads", a->threads,
                  "Threads that compute the rows, 1 to 256 (default: the machine's cores for "
                  "8192 rows or more); the output is the same for any number")
      ->check(CLI::Range(1u, 256u))
      ->type_name("N");
  cmd->callback([a, &action] { action = [a](Output& out) { return run_sun(*a, out); }; });
}

}  // namespace astro::cli
