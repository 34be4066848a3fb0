// SPDX-License-Identifier: MIT
// astro events: the Sun's dawns, rise, transit, set and dusks for a site, day by day in a
// time zone, from sun_events.
#include <CLI/CLI.hpp>
#include <date/tz.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "cli/command.hpp"
#include "cli/parse.hpp"
#include "cli/table.hpp"
#include "core/constants.hpp"
#include "solar/events.hpp"
#include "solar/sun.hpp"

namespace astro::cli {

namespace {

struct EventsArgs {
  SiteOptions site;
  std::string from, days, to, tz, format = "table";
  CLI::Option* days_option = nullptr;
  CLI::Option* to_option = nullptr;
  CLI::Option* tz_option = nullptr;
};

// The greatest --days: the years 0000-9999.
constexpr std::int64_t kMaxDays = 3652425;

// The instant a local day begins: its midnight, or where the zone skips midnight the end of
// the gap, or where midnight repeats the first of the two.
std::int64_t day_start_ms(std::int64_t day, const date::time_zone* zone) {
  const date::local_days local{date::days{static_cast<date::days::rep>(day)}};
  if (zone == nullptr) return local.time_since_epoch().count() * 86400000LL;
  const auto utc = zone->to_sys(local, date::choose::earliest);
  return std::chrono::duration_cast<std::chrono::milliseconds>(utc.time_since_epoch()).count();
}

// HH:MM:SS of a duration in milliseconds, rounded to the second.
char* put_clock(char* p, std::int64_t ms) {
  const std::int64_t s = (ms + 500) / 1000;
  const auto two = [&p](std::int64_t v) {
    *p++ = static_cast<char>('0' + v / 10);
    *p++ = static_cast<char>('0' + v % 10);
  };
  two(s / 3600);
  *p++ = ':';
  two(s / 60 % 60);
  *p++ = ':';
  two(s % 60);
  return p;
}

// The table's event columns, in the order of the day.
constexpr std::array<SunEventKind, 9> kTableKinds = {
    SunEventKind::astronomical_dawn, SunEventKind::nautical_dawn, SunEventKind::civil_dawn,
    SunEventKind::sunrise,           SunEventKind::transit,       SunEventKind::sunset,
    SunEventKind::civil_dusk,        SunEventKind::nautical_dusk, SunEventKind::astronomical_dusk};

int run_events(const EventsArgs& a, Output& out) {
  Site site = read_site(a.site);
  const Format format = read_format(a.format);
  const date::time_zone* zone = read_zone_option(a.tz_option, a.tz);
  const std::int64_t first = read_option("--from", a.from, kDateForms,
                                         [](const std::string& v) { return parse_date(v); });
  const bool by_days = a.days_option->count() > 0;
  if (by_days == (a.to_option->count() > 0))
    throw UsageError("--days or --to: exactly one of them is wanted (--days N: N days from "
                     "--from; --to DATE: up to that day, included)");
  std::int64_t days = 0;
  if (by_days) {
    days = read_option("--days", a.days, "a whole number of days, 1 to 3652425",
                       [](const std::string& v) {
                         const std::int64_t n = parse_count(v, kMaxDays);
                         if (n == 0) throw ParseError("at least one day");
                         return n;
                       });
  } else {
    const std::int64_t last = read_option("--to", a.to, kDateForms,
                                          [](const std::string& v) { return parse_date(v); });
    if (last < first)
      throw UsageError("--to: cannot use '" + a.to + "': it lies before --from '" + a.from + "'");
    days = last - first + 1;
  }
  // Every day within the years 0000-9999 and within what the zone's database knows.
  const std::int64_t end_ms = day_start_ms(first + days, zone);
  if (day_start_ms(first, zone) < kFirstUnixMs + 86400000 || end_ms > kLastUnixMs - 86400000)
    throw UsageError(std::string(by_days ? "--days" : "--to") +
                     ": the days must lie within 0000-01-02 to 9999-12-30");
  if (zone != nullptr && end_ms > zone_known_until_ms(zone))
    throw UsageError("--tz: the system's time-zone database gives the rules of " +
                     zone->name() + " only up to 2037-12-31; leave out --tz for UTC days");

  const TimeStyle utc_iso{3, 'T', true};
  const TimeStyle local_iso{3, 'T', false};
  ZoneClock clock(zone);

  if (format == Format::csv) {
    out.put(zone ? "event,time_utc,time_local,jd_ut,azimuth_deg,height_deg\n"
                 : "event,time_utc,jd_ut,azimuth_deg,height_deg\n");
  } else if (format == Format::table) {
    const std::string where = zone ? zone->name() : "UTC";
    TableHeader header;
    header.text("date", where, 12);
    header.text("astr. dawn", "", 11);
    header.text("naut. dawn", "", 11);
    header.text("civil dawn", "", 11);
    header.text("sunrise", "", 12);
    header.text("transit", "", 10);
    header.number("height", "deg", 6);
    header.text("", "", 2);
    header.text("sunset", "", 11);
    header.text("civil dusk", "", 11);
    header.text("naut. dusk", "", 11);
    header.text("astr. dusk", "", 11);
    header.text("day length", "", 11);
    header.write(out);
  }

  const SunOptions geometric{true, true, false};
  bool several_seen = false;
  for (std::int64_t d = 0; d < days; ++d) {
    const std::int64_t begin_ms = day_start_ms(first + d, zone);
    const std::int64_t next_ms = day_start_ms(first + d + 1, zone);
    const double jd_from = jd_from_unix_ms(begin_ms);
    const double jd_to = jd_from_unix_ms(next_ms);
    const std::vector<SunEvent> events = sun_events(site, jd_from, jd_to);

    if (format != Format::table) {
      for (const SunEvent& e : events) {
        const std::int64_t ms = unix_ms_from_jd(e.jd_ut);
        char* p = out.reserve(512);
        const std::string_view name = sun_event_name(e.kind);
        const bool json = format == Format::jsonl;
        if (json) p = put_literal(p, "{\"event\":\"");
        p = put_literal(p, name);
        p = put_literal(p, json ? "\",\"time_utc\":\"" : ",");
        p = put_time(p, ms, 0, utc_iso);
        if (zone) {
          p = put_literal(p, json ? "\",\"time_local\":\"" : ",");
          p = put_time(p, ms, clock.offset_s(ms), local_iso);
        }
        p = put_literal(p, json ? "\",\"jd_ut\":" : ",");
        p = put_double(p, e.jd_ut);
        p = put_literal(p, json ? ",\"azimuth_deg\":" : ",");
        p = put_double(p, e.azimuth * kRadToDeg);
        p = put_literal(p, json ? ",\"height_deg\":" : ",");
        p = put_double(p, e.height * kRadToDeg);
        if (json) *p++ = '}';
        *p++ = '\n';
        out.commit(p);
      }
      continue;
    }

    // One line for the day: the first event of each kind, '+' after it when there are more.
    std::array<const SunEvent*, kTableKinds.size()> shown{};
    std::array<int, kTableKinds.size()> count{};
    for (const SunEvent& e : events)
      for (std::size_t k = 0; k < kTableKinds.size(); ++k)
        if (e.kind == kTableKinds[k] && count[k]++ == 0) shown[k] = &e;
    // Time above the sunrise horizon within the day: from the crossings, starting from the
    // Sun's geometric height at the day's beginning.
    bool up = sun_position(jd_from, site, geometric).height > kSunriseHorizon;
    const bool up_at_start = up;
    std::int64_t day_ms = 0, since = begin_ms;
    bool crossed = false;
    for (const SunEvent& e : events) {
      if (e.kind != SunEventKind::sunrise && e.kind != SunEventKind::sunset) continue;
      crossed = true;
      const std::int64_t ms = unix_ms_from_jd(e.jd_ut);
      if (e.kind == SunEventKind::sunrise) {
        since = ms;
        up = true;
      } else {
        if (up) day_ms += ms - since;
        up = false;
      }
    }
    if (up) day_ms += next_ms - since;

    char* p = out.reserve(512);
    char* column = p;
    const int offset = zone ? clock.offset_s(begin_ms) : 0;
    p = put_time(p, begin_ms, offset, {0, ' ', true});
    p = pad_to(column, column + 10, 12);  // the date alone
    for (std::size_t k = 0; k < kTableKinds.size(); ++k) {
      column = p;
      const int width = k == 3 ? 12 : (k == 4 ? 10 : 11);
      if (k == 5) {  // the transit's height before the sunset
        const SunEvent* t = shown[4];
        if (t) p = put_right(p, t->height * kRadToDeg, 2, 6);
        else p = put_literal(p, "     -");
        p = put_literal(p, "  ");
        column = p;
      }
      if (shown[k] == nullptr) {
        if (!crossed && (k == 3 || k == 5)) {
          p = put_literal(p, k == 3 ? (up_at_start ? "polar day" : "polar night") : "-");
        } else {
          p = put_literal(p, "-");
        }
      } else {
        const std::int64_t ms = unix_ms_from_jd(shown[k]->jd_ut);
        char stamp[40];
        char* end = put_time(stamp, ms, zone ? clock.offset_s(ms) : 0, {0, ' ', true});
        p = put_literal(p, std::string_view(stamp + 11, 8));  // HH:MM:SS
        (void)end;
        if (count[k] > 1) {
          *p++ = '+';
          several_seen = true;
        }
      }
      p = pad_to(column, p, width);
    }
    if (!crossed) {
      p = put_literal(p, up_at_start ? "24 h" : "0 h");
    } else {
      p = put_clock(p, day_ms);
    }
    *p++ = '\n';
    out.commit(p);
  }
  if (format == Format::table && several_seen)
    out.put("+ more than one of that event in the day: --format csv lists them all\n");
  return 0;
}

}  // namespace

void add_events_command(CLI::App& root, Action& action) {
  auto a = std::make_shared<EventsArgs>();
  CLI::App* cmd = root.add_subcommand(
      "events", "The Sun's dawns, sunrise, transit, sunset and dusks, day by day");
  add_site_options(*cmd, a->site);
  cmd->add_option("--from", a->from, "First day, " + std::string(kDateForms) + ", in --tz")
      ->required()
      ->type_name("DATE");
  a->days_option = cmd->add_option("--days", a->days, "Number of days")->type_name("N");
  a->to_option =
      cmd->add_option("--to", a->to, "Last day, included, YYYY-MM-DD")->type_name("DATE");
  a->days_option->excludes(a->to_option);
  a->tz_option = cmd->add_option("--tz", a->tz,
                                 "Time zone whose days are listed, midnight to midnight "
                                 "(default UTC); adds a local-time column")
                     ->type_name("ZONE");
  cmd->add_option("--format", a->format, "table (default, one line a day), csv or jsonl (one "
                                         "event a line)")
      ->type_name("FORMAT");
  cmd->footer("Give exactly one of --days and --to. A day runs from one local midnight in "
              "--tz to the next (23 or 25 hours when the clocks change). Exit status: 0 done, "
              "1 output could not be written, 2 bad command line (nothing written). See "
              "docs/astro.md.");
  cmd->callback([a, &action] { action = [a](Output& out) { return run_events(*a, out); }; });
}

}  // namespace astro::cli
