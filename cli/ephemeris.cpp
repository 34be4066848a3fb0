// SPDX-License-Identifier: MIT
// astro ephemeris: a catalogue object's geocentric place at a series of instants, by
// two-body motion from its catalogue elements and the library's own Earth.
#include <CLI/CLI.hpp>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "catalog/elements.hpp"
#include "cli/command.hpp"
#include "cli/parse.hpp"
#include "cli/table.hpp"
#include "core/constants.hpp"
#include "core/types.hpp"
#include "orbit/state_vector.hpp"
#include "solar/orientation.hpp"
#include "solar/rotation.hpp"
#include "solar/sun.hpp"

namespace astro::cli {

namespace {

struct EphemerisArgs {
  std::string catalogue, object, format = "table";
  bool no_light_time = false;
  SeriesOptions series;
};

// The speed of light, astronomical units per day (IAU 2012: c = 299792458 m/s, au =
// 149597870700 m).
constexpr double kLightAuPerDay = 299792458.0 * 86400.0 / 149597870700.0;

double norm(const Vector3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// The place of the object at one instant.
struct Place {
  double ra, dec;   // radians, mean equator and equinox of J2000.0; ra in [0, 2 pi)
  double delta, r;  // distances from the Earth and from the Sun, au
  double elongation;  // angle Sun-Earth-object, radians, [0, pi]
};

// The heliocentric position at jd on the J2000.0 equator: the catalogue's mean anomaly
// (at JD 2451545.0) carried by n = k a^-1.5 as DECODE_ELMTS reckons it, PV, then the
// ecliptic turned to the equator by EPS_EARTH(0) as for the Sun.
Vector3 heliocentric_equatorial(const ElementSet& at_j2000, double jd) {
  ElementSet set = at_j2000;
  const double n = kGaussK * std::pow(at_j2000[element::a], -1.5);
  set[element::M] = at_j2000[element::M] + n * (jd - kJ2000);
  Vector3 ecl, velocity, equ;
  PV(set, ecl, velocity);
  ROTAT1(ecl, equ, -EPS_EARTH(0.0));
  return equ;
}

Place place_at(const ElementSet& elements, double jd, bool light_time) {
  const Vector3 sun = sun_equatorial_j2000(jd);  // geocentric Sun
  Vector3 helio = heliocentric_equatorial(elements, jd);
  Vector3 geo = {helio[0] + sun[0], helio[1] + sun[1], helio[2] + sun[2]};
  if (light_time) {
    // The object where it was when the light left it: three passes settle the light time
    // far below a microsecond for any orbit of the catalogue.
    for (int pass = 0; pass < 3; ++pass) {
      helio = heliocentric_equatorial(elements, jd - norm(geo) / kLightAuPerDay);
      geo = {helio[0] + sun[0], helio[1] + sun[1], helio[2] + sun[2]};
    }
  }
  Place p{};
  p.delta = norm(geo);
  p.r = norm(helio);
  p.ra = std::atan2(geo[1], geo[0]);
  if (p.ra < 0) p.ra += 2 * kPi;
  p.dec = std::atan2(geo[2], std::hypot(geo[0], geo[1]));
  const Vector3 cross = {geo[1] * sun[2] - geo[2] * sun[1], geo[2] * sun[0] - geo[0] * sun[2],
                         geo[0] * sun[1] - geo[1] * sun[0]};
  p.elongation =
      std::atan2(norm(cross), geo[0] * sun[0] + geo[1] * sun[1] + geo[2] * sun[2]);
  return p;
}

int run_ephemeris(const EphemerisArgs& a, Output& out) {
  const Format format = read_format(a.format);
  ElementSet elements;
  elements.fill(std::numeric_limits<double>::quiet_NaN());
  std::ostringstream messages;
  try {
    READ_ELMTS(a.catalogue, a.object, elements, 1, messages);
  } catch (const std::exception& e) {
    throw UsageError("--catalogue: cannot use '" + a.catalogue + "': the line of '" + a.object +
                     "' does not decode: " + e.what());
  }
  if (!messages.str().empty())
    throw UsageError("--catalogue: cannot use '" + a.catalogue + "': cannot open the file; "
                     "accepted: an element catalogue in the layout of data/catalogue/elements.txt");
  if (std::isnan(elements[element::a]))
    throw UsageError("--object: cannot use '" + a.object + "': no line of " + a.catalogue +
                     " carries that name in columns 1-29 (case matters; the first 9 "
                     "characters count)");
  if (!(elements[element::e] >= 0 && elements[element::e] < 1))
    throw UsageError("--object: cannot use '" + a.object +
                     "': its orbit is not an ellipse (e = " + std::to_string(elements[1]) + ")");
  const Series series = read_series(a.series, nullptr);
  const bool light_time = !a.no_light_time;
  const TimeStyle utc_iso{3, 'T', true};
  const TimeStyle utc_table{0, ' ', true};

  if (format == Format::csv) {
    out.put("time_utc,jd,ra_deg,dec_deg,delta_au,r_au,elongation_deg\n");
  } else if (format == Format::table) {
    TableHeader header;
    header.text("time UTC", "", 21);
    header.number("jd", "", 13);
    header.number("RA J2000", "deg", 12);
    header.number("Dec J2000", "deg", 11);
    header.number("delta", "au", 12);
    header.number("r", "au", 12);
    header.number("elongation", "deg", 11);
    header.write(out);
  }
  for (std::int64_t i = 0; i < series.count; ++i) {
    const double jd = series.at(i);
    const Place pl = place_at(elements, jd, light_time);
    const double values[5] = {pl.ra * kRadToDeg, pl.dec * kRadToDeg, pl.delta, pl.r,
                              pl.elongation * kRadToDeg};
    const std::int64_t ms = unix_ms_from_jd(jd);
    char* p = out.reserve(512);
    if (format == Format::table) {
      char* column = p;
      p = put_time(p, ms, 0, utc_table);
      p = pad_to(column, p, 21);
      p = put_fixed(p, jd, 5);
      p = put_right(p, values[0], 5, 12);
      p = put_right(p, values[1], 5, 11);
      p = put_right(p, values[2], 7, 12);
      p = put_right(p, values[3], 7, 12);
      p = put_right(p, values[4], 3, 11);
    } else {
      static constexpr const char* kKeys[5] = {"ra_deg", "dec_deg", "delta_au", "r_au",
                                               "elongation_deg"};
      const bool json = format == Format::jsonl;
      p = put_literal(p, json ? "{\"time_utc\":\"" : "");
      p = put_time(p, ms, 0, utc_iso);
      p = put_literal(p, json ? "\",\"jd\":" : ",");
      p = put_double(p, jd);
      for (int k = 0; k < 5; ++k) {
        *p++ = ',';
        if (json) {
          *p++ = '"';
          p = put_literal(p, kKeys[k]);
          p = put_literal(p, "\":");
        }
        p = put_double(p, values[k]);
      }
      if (json) *p++ = '}';
    }
    *p++ = '\n';
    out.commit(p);
  }
  return 0;
}

}  // namespace

void add_ephemeris_command(CLI::App& root, Action& action) {
  auto a = std::make_shared<EphemerisArgs>();
  CLI::App* cmd = root.add_subcommand(
      "ephemeris",
      "A catalogue object's geocentric RA and Dec (J2000.0), distances and elongation, by "
      "two-body motion from its elements");
  cmd->add_option("--catalogue", a->catalogue,
                  "Element catalogue (e.g. data/catalogue/elements.txt)")
      ->required()
      ->type_name("FILE");
  cmd->add_option("--object", a->object,
                  "Name as in columns 1-29 of the catalogue (first match; e.g. Ceres, 433)")
      ->required()
      ->type_name("NAME");
  add_series_options(*cmd, a->series);
  cmd->add_flag("--no-light-time", a->no_light_time,
                "The object where it is at the instant, not where its light left it");
  cmd->add_option("--format", a->format, "table (default), csv or jsonl")
      ->type_name("table|csv|jsonl");
  cmd->callback(
      [a, &action] { action = [a](Output& out) { return run_ephemeris(*a, out); }; });
}

}  // namespace astro::cli
