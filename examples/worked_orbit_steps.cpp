// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "catalog/elements.hpp"
#include "catalog/observations.hpp"
#include "core/constants.hpp"
#include "examples/worked_orbit.hpp"
#include "orbit/determination.hpp"
#include "orbit/site.hpp"
#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"

namespace astro::worked {

namespace {

constexpr double kJ2000 = 2451545.0;  // JD of J2000.0, origin of T and of catalogue M

// All CCD observations of the object, read again with twice the room while they fill it.
struct Observations {
  std::vector<double> times, ra, dec;
};

Observations read_observations(const Sources& sources, std::ostream& out) {
  Observations obs;
  for (std::int32_t room = 1024;; room *= 2) {
    obs.times.assign(room, 0.0);
    obs.ra.assign(room, 0.0);
    obs.dec.assign(room, 0.0);
    std::int32_t n = room;
    READ_MPC(sources.observations, sources.object, obs.times, obs.ra, obs.dec, n, out);
    if (n < room) {
      obs.times.resize(n);
      obs.ra.resize(n);
      obs.dec.resize(n);
      return obs;
    }
  }
}

// One number in printf's %w.df (or %+w.df) form; NaN as "NaN", right-aligned.
std::string fixed(double x, int width, int decimals, bool sign = false) {
  char buffer[64];
  if (std::isnan(x)) {
    std::snprintf(buffer, sizeof buffer, "%*s", width, "NaN");
  } else {
    std::snprintf(buffer, sizeof buffer, sign ? "%+*.*f" : "%*.*f", width, decimals, x);
  }
  return buffer;
}

// "2014 05 05.12345": the calendar date of jd as the observation file writes it.
std::string calendar_date(double jd) {
  double year, month, day;
  OD(jd, year, month, day);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04.0f %02.0f %08.5f", year, month, day);
  return buffer;
}

}  // namespace

std::array<std::size_t, 3> pick_observations(std::span<const double> times) {
  if (times.size() < 3) throw std::invalid_argument("fewer than three observations");
  std::vector<std::size_t> order(times.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t l, std::size_t r) { return times[l] < times[r]; });

  // The longest apparition, as positions first..last in order.
  std::size_t first = 0, last = 0;
  for (std::size_t start = 0, k = 1; k <= order.size(); ++k) {
    if (k < order.size() && times[order[k]] - times[order[k - 1]] <= kApparitionGap) continue;
    if (times[order[k - 1]] - times[order[start]] > times[order[last]] - times[order[first]]) {
      first = start;
      last = k - 1;
    }
    start = k;
  }

  const double t_first = times[order[first]], t_last = times[order[last]];
  const double t_mid = (t_first + t_last) / 2;
  std::size_t middle = order.size();
  for (std::size_t k = first; k <= last; ++k) {
    const double t = times[order[k]];
    if (t <= t_first || t >= t_last) continue;
    if (middle == order.size() || std::fabs(t - t_mid) < std::fabs(times[middle] - t_mid)) {
      middle = order[k];
    }
  }
  if (middle == order.size()) {
    throw std::invalid_argument(
        "no observation between the first and last of the longest apparition");
  }
  return {order[first], middle, order[last]};
}

double catalogue_mean_anomaly(const ElementSet& elements, double epoch) {
  const double n = kGaussK * std::pow(elements[element::a], -1.5);
  return NULA2PI(elements[element::M] + n * (epoch - kJ2000));
}

Comparison compare_orbit(const Sources& sources, std::ostream& out) {
  const Observations obs = read_observations(sources, out);
  if (obs.times.size() < 3) {
    throw std::runtime_error("fewer than three CCD observations of " + sources.object + " in " +
                             sources.observations);
  }
  Comparison c;
  c.observations = static_cast<std::int32_t>(obs.times.size());
  const auto pick = pick_observations(obs.times);
  std::array<double, 3> sun_x, sun_y, sun_z;
  for (std::size_t j = 0; j < 3; ++j) {
    c.times[j] = obs.times[pick[j]];
    c.ra[j] = obs.ra[pick[j]];
    c.dec[j] = obs.dec[pick[j]];
    const Vector3 sun = sun_equatorial_j2000(c.times[j]);
    sun_x[j] = sun[0];
    sun_y[j] = sun[1];
    sun_z[j] = sun[2];
  }

  const double epoch = c.times[1];
  observing_site.epoch = epoch;
  std::ostringstream messages;
  E3(c.times, c.ra, c.dec, sun_x, sun_y, sun_z, c.determined, messages);
  c.messages = messages.str();
  c.determined[element::M] = NULA2PI(c.determined[element::M]);

  c.catalogue.fill(std::numeric_limits<double>::quiet_NaN());
  READ_ELMTS(sources.catalogue, sources.catalogue_name, c.catalogue, 1, out);
  if (std::isnan(c.catalogue[element::a])) {
    throw std::runtime_error("no line for " + sources.catalogue_name + " in " + sources.catalogue);
  }
  c.catalogue[element::M] = catalogue_mean_anomaly(c.catalogue, epoch);

  for (std::size_t k = 0; k < 6; ++k) {
    const double d = c.determined[k] - c.catalogue[k];
    c.difference[k] = k <= element::e ? d : std::remainder(d, kTwoPi);
  }
  return c;
}

void print_comparison(const Sources& sources, const Comparison& c, std::ostream& out) {
  out << "Orbit of " << sources.object << " from " << sources.observations << ": " << c.observations
      << " CCD observations\n"
      << "E3 on the first, middle and last of the longest apparition (UTC; RA, Dec J2000.0):\n";
  for (std::size_t j = 0; j < 3; ++j) {
    out << "  JD " << fixed(c.times[j], 13, 5) << "  " << calendar_date(c.times[j]) << "  RA "
        << fixed(c.ra[j] * kRadToDeg, 9, 4) << "  Dec " << fixed(c.dec[j] * kRadToDeg, 8, 4, true)
        << " deg\n";
  }
  out << "Arc " << fixed(c.times[2] - c.times[0], 0, 2) << " days; epoch JD "
      << fixed(c.times[1], 0, 5) << ", the middle observation\n"
      << "Catalogue: the line " << sources.catalogue_name << " of " << sources.catalogue
      << ", M carried to the epoch\n\n";

  struct Row {
    const char* name;
    std::size_t index;
    double scale;  // to the printed unit
    int decimals;
  };
  const Row rows[] = {{"a (AU)", element::a, 1.0, 6},
                      {"e", element::e, 1.0, 6},
                      {"i (deg)", element::i, kRadToDeg, 4},
                      {"peri (deg)", element::peri, kRadToDeg, 4},
                      {"node (deg)", element::node, kRadToDeg, 4},
                      {"M (deg)", element::M, kRadToDeg, 4}};
  char name[16];
  out << "  element              E3    catalogue   E3 - catalogue\n";
  for (const Row& r : rows) {
    std::snprintf(name, sizeof name, "%-10s", r.name);
    out << "  " << name << fixed(c.determined[r.index] * r.scale, 13, r.decimals)
        << fixed(c.catalogue[r.index] * r.scale, 13, r.decimals)
        << fixed(c.difference[r.index] * r.scale, 17, r.decimals, true) << "\n";
  }
  if (!c.messages.empty()) out << "\nE3 said:\n" << c.messages;
}

int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  if (args.size() > 4) {
    err << "usage: worked_orbit [OBSERVATIONS [OBJECT [CATALOGUE_NAME [CATALOGUE]]]]\n";
    return 2;
  }
  Sources sources;
  if (args.size() > 0) sources.observations = args[0];
  if (args.size() > 1) sources.object = sources.catalogue_name = args[1];
  if (args.size() > 2) sources.catalogue_name = args[2];
  if (args.size() > 3) sources.catalogue = args[3];
  try {
    const Comparison comparison = compare_orbit(sources, out);
    print_comparison(sources, comparison, out);
  } catch (const std::exception& e) {
    err << "worked_orbit: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace astro::worked
