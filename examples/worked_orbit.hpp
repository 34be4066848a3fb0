// SPDX-License-Identifier: MIT
// A worked orbit: a preliminary orbit by E3 from three real MPC observations of one object,
// set beside the object's catalogue elements.
//
// Frames. The observations are right ascensions and declinations of the mean equator and
// equinox of J2000.0, so the Sun handed to E3 is turned from the J2000.0 ecliptic of the
// Earth's elements to that equator by the mean obliquity of J2000.0, EPS_EARTH(0) =
// 0.40909280421064 rad, and Sun and directions share one frame. (Turned by E3's own
// 0.409099609 rad instead, the Sun would sit 1.4 arcseconds off that frame, and E3 is
// sensitive enough for that to move Ceres's a by 0.0004 AU and its peri by 0.09 degrees.)
// E3 turns its heliocentric positions to the ecliptic by its fixed 0.409099609 rad, 1.4"
// more than J2000.0's, to which the catalogue elements refer: that tilts i and node by at
// most 1.4" (0.0004 degrees) and leaves a, e and the shape of the orbit alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "core/types.hpp"

namespace astro::worked {

// Longest pause between consecutive observations of one apparition, days.
inline constexpr double kApparitionGap = 60.0;

// The files and names a worked orbit reads; the defaults are Ceres, relative to the top of
// the source tree.
struct Sources {
  std::string observations = "data/mpc/ceres.obs";        // MPC 80-column observations
  std::string object = "00001";                           // READ_MPC's object name
  std::string catalogue = "data/catalogue/elements.txt";  // element catalogue
  std::string catalogue_name = "00001";                   // READ_ELMTS's object name
};

// The outcome: E3's orbit and the catalogue's, both with M at the epoch, the epoch being the
// middle observation's time.
struct Comparison {
  std::int32_t observations = 0;      // CCD observations of the object in the file
  std::array<double, 3> times{};      // the three chosen: Julian Date (UTC, as written)
  std::array<double, 3> ra{}, dec{};  // their right ascension and declination, radians
  ElementSet determined{};            // E3: a (AU), e, i, peri, node, M (radians);
                                      // peri, node, M reduced to one turn
  ElementSet catalogue{};             // READ_ELMTS, M carried to the epoch and reduced
  ElementSet difference{};            // determined - catalogue: a (AU), e, and the
                                      // angles as radians in [-pi, pi]
  std::string messages;               // what E3 wrote, each line " text\n"; empty
                                      // when it met nothing unusual
};

// The three observations for E3: the first and the last of the longest apparition, and the
// one nearest the midpoint between them.
//   times    Julian Dates in any order
//   returns  three positions in times, in time order
// An apparition is a run of observations, sorted by time, in which no two neighbours are
// more than kApparitionGap days apart; the longest is the one spanning the most time (the
// earliest of equal ones). The middle one lies strictly between the first and last instant
// (the earlier of two equally near). The widest spacing within one apparition: arcs shorter
// than a month leave E3 errors of degrees in peri and M (Ceres, Eros), while one apparition
// of a main-belt orbit or of Eros covers less than a quarter turn of mean anomaly, inside
// E3's domain. Not so for an orbit of about a year: Apophis runs through 207 degrees of mean
// anomaly in its longest apparition, and E3 finds no ellipse there (nor on shorter arcs).
// Throws std::invalid_argument for fewer than three times or when no observation lies
// strictly between.
std::array<std::size_t, 3> pick_observations(std::span<const double> times);

// Catalogue mean anomaly carried from JD 2451545.0 (where DECODE_ELMTS puts it) to epoch
// with the mean motion kGaussK a^-1.5, radians, reduced to one turn.
//   elements  a (AU) and M at JD 2451545.0 (radians) are read
//   epoch     Julian Date
double catalogue_mean_anomaly(const ElementSet& elements, double epoch);

// The worked orbit: reads the object's CCD observations (READ_MPC), picks three
// (pick_observations), sets observing_site.epoch to the middle one's time, runs E3 with
// sun_equatorial_j2000 at each time, and reads the catalogue line (the first match of
// READ_ELMTS).
//   out  receives the readers' messages (" Cannot open file NAME.")
// Throws std::runtime_error when the file holds fewer than three CCD observations of the
// object or the catalogue has no line for the name, std::invalid_argument from
// pick_observations, and what the readers throw (FieldError, RangeError).
Comparison compare_orbit(const Sources& sources, std::ostream& out);

// Writes the sources, the three observations, both element sets and their differences as a
// small table (a in AU, e, angles in degrees), then E3's messages if there were any.
void print_comparison(const Sources& sources, const Comparison& comparison, std::ostream& out);

// The program: worked_orbit [OBSERVATIONS [OBJECT [CATALOGUE_NAME [CATALOGUE]]]], each
// argument replacing the default of Sources (the catalogue name defaults to the object).
//   returns 0 after printing the comparison, 1 when it could not be made (the reason on
//   err), 2 for more than four arguments (usage on err)
int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace astro::worked
