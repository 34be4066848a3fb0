// SPDX-License-Identifier: MIT
// Heliocentric motion of a massless body for the orbit fit (internal to fit/): the state and
// its partial derivatives with respect to the state at an epoch, two-body or perturbed by
// the planets. States are au and au/day on the J2000.0 equator (GCRS axes), times TT
// Julian Dates (TDB - TT, under 2 ms, neglected).
#pragma once

#include <array>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fit/orbit_fit.hpp"
#include "core/types.hpp"

namespace astro::detail {

using State6 = std::array<double, 6>;
using Matrix6 = std::array<double, 36>;  // row-major, (row, column) at 6 row + column

// The state at one instant and its partials d state / d state-at-epoch.
struct MotionSample {
  State6 state;
  Matrix6 partials;
};

// Gaussian gravitational constant squared: GM of the Sun in au^3/day^2.
inline constexpr double kGaussK2 = 0.01720209895 * 0.01720209895;

// The obliquity of the J2000.0 ecliptic on which elements are reported, 84381.448"
// (IAU 1976, the value of the MPC's J2000.0 ecliptic elements).
inline constexpr double kObliquityJ2000 = 84381.448 / 206264.80624709636;

// The heliocentric positions of the eight planets (the third the Earth-Moon barycentre),
// au, J2000.0 equator, from ERFA's eraPlan94: the positions tabulated every half day over a
// span and interpolated by cubic B-splines (Boost.Math cardinal_cubic_b_spline), which keeps
// each within 7.5e-8 au of eraPlan94's (Mercury; 1.7e-8 au for the barycentre) at a small
// part of its cost; outside the span eraPlan94 is called directly.
class PlanetTable {
 public:
  PlanetTable() = default;  // no table: every position from eraPlan94
  PlanetTable(double t_begin, double t_end);
  std::array<Vector3, 8> positions(double t) const;
  // Whether positions(t) interpolates the table (false: it calls eraPlan94).
  bool covers(double t) const;

 private:
  struct Impl;
  std::shared_ptr<const Impl> impl_;
};

// The work of the motion, counted across calls against one bound (FitOptions::work_limit):
// one unit per evaluation of the perturbed equations of motion (the forces and the
// variational equations at one instant, the planets from the table), kDirectEphemerisUnits
// for one whose planets come from eraPlan94 directly (outside the table), and one per
// two-body propagation of a state to an instant (a Kepler solution with its conversions).
inline constexpr long long kDirectEphemerisUnits = 8;  // eraPlan94 for eight planets: 5.8 us

class WorkBudget {
 public:
  explicit WorkBudget(long long limit) : limit_(limit) {}
  // Adds units of work; throws WorkLimitReached when the total passes the limit.
  void spend(long long units);
  long long used() const { return used_; }
  long long limit() const { return limit_; }

 private:
  long long limit_;
  long long used_ = 0;
};

// Thrown by WorkBudget::spend. Not a std::runtime_error: the fit takes a failed integration
// (a runtime_error) as a refused trial and goes on, while the end of the budget ends the fit.
class WorkLimitReached : public std::exception {
 public:
  const char* what() const noexcept override { return "the work bound of the fit was reached"; }
};

// The state (and its partials) at each of `times` from the state y0 at t0, in the order of
// `times`. Throws std::runtime_error when the integration fails (its step bound, a
// non-finite state, a pass within the radius of the Sun or a planet), and WorkLimitReached
// when `budget` (if given) runs out.
std::vector<MotionSample> propagate(MotionModel model, double t0, const State6& y0,
                                    std::span<const double> times,
                                    const PlanetTable& planets = PlanetTable(),
                                    WorkBudget* budget = nullptr);

// The Earth's heliocentric position, au, GCRS axes, at a TT Julian Date (eraEpv00).
Vector3 earth_heliocentric(double tt);

// Equatorial J2000.0 state to heliocentric osculating elements on the J2000.0 ecliptic
// (E1, the body's mass neglected), and back (PV).
ElementSet state_to_elements(const State6& y);
State6 elements_to_state(const ElementSet& elements);

}  // namespace astro::detail
