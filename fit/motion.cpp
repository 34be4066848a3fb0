// SPDX-License-Identifier: MIT
#include "fit/motion.hpp"

#include <erfa.h>

#include <algorithm>
#include <boost/math/interpolators/cardinal_cubic_b_spline.hpp>
#include <boost/numeric/odeint.hpp>
#include <cmath>
#include <numbers>
#include <numeric>
#include <stdexcept>

#include "orbit/state_vector.hpp"

namespace astro::detail {

namespace {

namespace odeint = boost::numeric::odeint;

// The state with its 6 x 6 partials, the variational equations integrated beside it.
using State42 = std::array<double, 42>;

constexpr double kMjdZero = 2400000.5;

// Reciprocal masses of the planets (Sun / planet, the Earth and the Moon together), IAU 2009
// system of astronomical constants (Luzum et al., Celest. Mech. Dyn. Astr. 110, 293, 2011).
constexpr std::array<double, 8> kReciprocalMass = {
    6023597.4, 408523.719, 328900.561400, 3098703.59,
    1047.348644, 3497.9018, 22902.98, 19412.26};

// Integrator tolerances (absolute au or au/day and relative), and the bound on the steps
// between two output instants: with steps of at least an hour some 24,000 days of motion,
// far beyond any arc of the fit; reaching it throws.
constexpr double kAbsTolerance = 1e-12;
constexpr double kRelTolerance = 1e-12;
constexpr int kMaxStepsBetweenOutputs = 500000;
constexpr double kFirstStepDays = 0.5;

// Radii within which the point masses no longer stand for the bodies, au: the Sun (IAU 2015
// nominal, 695,700 km) and the planets' equatorial radii (IAU WGCCRE; for the Earth-Moon
// barycentre the Earth's, 6,378.137 km). A state within one of them ends the integration:
// an orbit through a planet is no orbit of a minor planet, and its fall towards the point
// mass would force the integrator into ever smaller steps.
constexpr double kAuKm = 149597870.7;
constexpr double kSunRadius = 695700.0 / kAuKm;
constexpr std::array<double, 8> kPlanetRadius = {
    2440.53 / kAuKm, 6051.8 / kAuKm, 6378.137 / kAuKm, 3396.19 / kAuKm,
    71492.0 / kAuKm, 60268.0 / kAuKm, 25559.0 / kAuKm, 24764.0 / kAuKm};
constexpr std::array<const char*, 8> kPlanetName = {
    "Mercury", "Venus", "the Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"};

// PV's gravitational constant: the mean motion that matches PV's velocities.
constexpr double kPvGaussK = 0.017202098902128322;

// The right-hand side of the equations of motion and the variational equations in the
// heliocentric frame: the Sun's attraction, each planet's direct attraction and the
// indirect term (the Sun's acceleration towards the planet). Planets from eraPlan94
// (heliocentric, J2000.0 equator), the third being the Earth-Moon barycentre.
// Each evaluation is charged to the budget, when one is given. A state within the radius of
// the Sun or of a planet throws (see kPlanetRadius).
struct PerturbedSystem {
  const PlanetTable& planets;
  WorkBudget* budget;
  void operator()(const State42& y, State42& dy, double t) const {
    if (budget != nullptr) budget->spend(planets.covers(t) ? 1 : kDirectEphemerisUnits);
    const std::array<Vector3, 8> where = planets.positions(t);
    const double r[3] = {y[0], y[1], y[2]};
    double acc[3];
    double g[3][3];
    const double r2 = r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
    if (r2 < kSunRadius * kSunRadius)
      throw std::runtime_error("the orbit passes within the radius of the Sun");
    const double rr = std::sqrt(r2);
    const double r3 = r2 * rr;
    const double r5 = r3 * r2;
    for (int i = 0; i < 3; ++i) {
      acc[i] = -kGaussK2 * r[i] / r3;
      for (int j = 0; j < 3; ++j)
        g[i][j] = -kGaussK2 * ((i == j ? 1.0 / r3 : 0.0) - 3.0 * r[i] * r[j] / r5);
    }
    for (int p = 0; p < 8; ++p) {
      const Vector3& rp = where[static_cast<std::size_t>(p)];
      const double gm = kGaussK2 / kReciprocalMass[static_cast<std::size_t>(p)];
      const double d[3] = {r[0] - rp[0], r[1] - rp[1], r[2] - rp[2]};
      const double d2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
      const double radius = kPlanetRadius[static_cast<std::size_t>(p)];
      if (d2 < radius * radius)
        throw std::runtime_error(std::string("the orbit passes within the radius of ") +
                                 kPlanetName[static_cast<std::size_t>(p)]);
      const double dd = std::sqrt(d2);
      const double d3 = d2 * dd;
      const double d5 = d3 * d2;
      const double p2 = rp[0] * rp[0] + rp[1] * rp[1] + rp[2] * rp[2];
      const double p3 = p2 * std::sqrt(p2);
      for (int i = 0; i < 3; ++i) {
        acc[i] += -gm * d[i] / d3 - gm * rp[i] / p3;
        for (int j = 0; j < 3; ++j)
          g[i][j] += -gm * ((i == j ? 1.0 / d3 : 0.0) - 3.0 * d[i] * d[j] / d5);
      }
    }
    for (int i = 0; i < 3; ++i) {
      dy[static_cast<std::size_t>(i)] = y[static_cast<std::size_t>(i + 3)];
      dy[static_cast<std::size_t>(i + 3)] = acc[i];
    }
    // Phi' = [[0, I], [G, 0]] Phi, Phi row-major from index 6.
    for (std::size_t c = 0; c < 6; ++c) {
      for (std::size_t i = 0; i < 3; ++i) {
        dy[6 + 6 * i + c] = y[6 + 6 * (i + 3) + c];
        double s = 0.0;
        for (std::size_t j = 0; j < 3; ++j) s += g[i][j] * y[6 + 6 * j + c];
        dy[6 + 6 * (i + 3) + c] = s;
      }
    }
  }
};

bool finite_state(const State42& y) {
  return std::all_of(y.begin(), y.end(), [](double v) { return std::isfinite(v); });
}

// Integrates from t0 through the instants (all on one side of t0, ordered away from it),
// writing the samples at their positions. odeint's integrate_times with a dense-output
// stepper: free steps, each instant interpolated within the step that passes it; at most
// kMaxStepsBetweenOutputs steps between two instants (max_step_checker), and every
// evaluation of the equations charged to the budget (PerturbedSystem).
void integrate_branch(double t0, const State6& y0, std::span<const double> times,
                      const std::vector<std::size_t>& order, const PlanetTable& planets,
                      WorkBudget* budget, std::vector<MotionSample>& out) {
  if (order.empty()) return;
  State42 y{};
  std::copy(y0.begin(), y0.end(), y.begin());
  for (std::size_t i = 0; i < 6; ++i) y[6 + 7 * i] = 1.0;
  std::vector<double> grid;
  grid.reserve(order.size() + 1);
  grid.push_back(t0);
  for (std::size_t k : order) grid.push_back(times[k]);
  const double dt = grid.back() > t0 ? kFirstStepDays : -kFirstStepDays;
  auto stepper = odeint::make_dense_output(kAbsTolerance, kRelTolerance,
                                           odeint::runge_kutta_dopri5<State42>());
  std::size_t next = 0;
  auto observer = [&](const State42& x, double) {
    if (next == 0) {  // the start instant itself
      ++next;
      return;
    }
    if (!finite_state(x)) throw std::runtime_error("the integration left the finite numbers");
    MotionSample& s = out[order[next - 1]];
    std::copy(x.begin(), x.begin() + 6, s.state.begin());
    std::copy(x.begin() + 6, x.end(), s.partials.begin());
    ++next;
  };
  odeint::integrate_times(stepper, PerturbedSystem{planets, budget}, y, grid.begin(), grid.end(),
                          dt, observer, odeint::max_step_checker(kMaxStepsBetweenOutputs));
}

State6 two_body_at(const ElementSet& at_epoch, double dt) {
  ElementSet el = at_epoch;
  const double n = kPvGaussK / std::pow(el[element::a], 1.5);
  el[element::M] = std::remainder(el[element::M] + n * dt, 2.0 * std::numbers::pi);
  return elements_to_state(el);
}

std::vector<MotionSample> propagate_two_body(double t0, const State6& y0,
                                             std::span<const double> times, WorkBudget* budget) {
  // Central differences of the propagated state; steps of 1e-7 au and 1e-9 au/day keep the
  // truncation (h^2) and the rounding (1e-16 / h) both below 1e-8 relative.
  constexpr std::array<double, 6> kStep = {1e-7, 1e-7, 1e-7, 1e-9, 1e-9, 1e-9};
  // The state and twelve neighbours, each moved to every instant.
  if (budget != nullptr) budget->spend(13 * static_cast<long long>(times.size()));
  std::vector<MotionSample> out(times.size());
  const ElementSet el = state_to_elements(y0);
  for (std::size_t k = 0; k < times.size(); ++k) out[k].state = two_body_at(el, times[k] - t0);
  for (std::size_t c = 0; c < 6; ++c) {
    State6 plus = y0, minus = y0;
    plus[c] += kStep[c];
    minus[c] -= kStep[c];
    const ElementSet ep = state_to_elements(plus), em = state_to_elements(minus);
    for (std::size_t k = 0; k < times.size(); ++k) {
      const State6 a = two_body_at(ep, times[k] - t0), b = two_body_at(em, times[k] - t0);
      for (std::size_t i = 0; i < 6; ++i)
        out[k].partials[6 * i + c] = (a[i] - b[i]) / (2.0 * kStep[c]);
    }
  }
  for (const MotionSample& s : out)
    if (!std::all_of(s.state.begin(), s.state.end(), [](double v) { return std::isfinite(v); }))
      throw std::runtime_error("the two-body orbit is not elliptic and direct");
  return out;
}

// Rotation about the x axis from the equator to the J2000.0 ecliptic, and back.
Vector3 to_ecliptic(double x, double y, double z) {
  const double c = std::cos(kObliquityJ2000), s = std::sin(kObliquityJ2000);
  return {x, c * y + s * z, -s * y + c * z};
}

Vector3 to_equator(const Vector3& v) {
  const double c = std::cos(kObliquityJ2000), s = std::sin(kObliquityJ2000);
  return {v[0], c * v[1] - s * v[2], s * v[1] + c * v[2]};
}

std::array<Vector3, 8> plan94_positions(double t) {
  std::array<Vector3, 8> out{};
  for (int p = 0; p < 8; ++p) {
    double pv[2][3];
    if (eraPlan94(kMjdZero, t - kMjdZero, p + 1, pv) < 0)
      throw std::runtime_error("planetary ephemeris refused planet " + std::to_string(p + 1));
    out[static_cast<std::size_t>(p)] = {pv[0][0], pv[0][1], pv[0][2]};
  }
  return out;
}

// Table spacing, days, and the number of nodes beyond the span on each side.
constexpr double kTableStep = 0.5;
constexpr double kTableMarginDays = 2.0;
// Longest span tabulated, days (some 550 years, 3.2 MB of nodes); a longer one is refused
// and eraPlan94 is called directly.
constexpr double kMaxTableDays = 200000.0;

}  // namespace

struct PlanetTable::Impl {
  using Interpolator = boost::math::interpolators::cardinal_cubic_b_spline<double>;
  double begin, end;
  std::vector<Interpolator> coordinate;  // planet p, axis i at 3 p + i
};

PlanetTable::PlanetTable(double t_begin, double t_end) {
  if (!(t_end >= t_begin) || t_end - t_begin > kMaxTableDays) return;
  const double first = t_begin - kTableMarginDays;
  const auto count = static_cast<std::size_t>((t_end - t_begin + 2 * kTableMarginDays) / kTableStep) + 2;
  std::vector<std::vector<double>> pos(24, std::vector<double>(count));
  for (std::size_t n = 0; n < count; ++n) {
    const double t = first + kTableStep * static_cast<double>(n);
    for (int p = 0; p < 8; ++p) {
      double pv[2][3];
      if (eraPlan94(kMjdZero, t - kMjdZero, p + 1, pv) < 0)
        throw std::runtime_error("planetary ephemeris refused planet " + std::to_string(p + 1));
      for (std::size_t i = 0; i < 3; ++i) pos[3 * static_cast<std::size_t>(p) + i][n] = pv[0][i];
    }
  }
  auto impl = std::make_shared<Impl>();
  impl->begin = first;
  impl->end = first + kTableStep * static_cast<double>(count - 1);
  for (std::size_t c = 0; c < 24; ++c)
    impl->coordinate.emplace_back(pos[c].data(), pos[c].size(), first, kTableStep);
  impl_ = std::move(impl);
}

bool PlanetTable::covers(double t) const {
  return impl_ && t >= impl_->begin && t <= impl_->end;
}

std::array<Vector3, 8> PlanetTable::positions(double t) const {
  if (!covers(t)) return plan94_positions(t);
  std::array<Vector3, 8> out{};
  for (std::size_t p = 0; p < 8; ++p)
    for (std::size_t i = 0; i < 3; ++i) out[p][i] = impl_->coordinate[3 * p + i](t);
  return out;
}

void WorkBudget::spend(long long units) {
  used_ += units;
  if (used_ > limit_) throw WorkLimitReached();
}

std::vector<MotionSample> propagate(MotionModel model, double t0, const State6& y0,
                                    std::span<const double> times, const PlanetTable& planets,
                                    WorkBudget* budget) {
  if (model == MotionModel::two_body) return propagate_two_body(t0, y0, times, budget);
  std::vector<MotionSample> out(times.size());
  std::vector<std::size_t> forward, backward, at_epoch;
  for (std::size_t k = 0; k < times.size(); ++k) {
    if (times[k] > t0) forward.push_back(k);
    else if (times[k] < t0) backward.push_back(k);
    else at_epoch.push_back(k);
  }
  std::stable_sort(forward.begin(), forward.end(),
                   [&](std::size_t a, std::size_t b) { return times[a] < times[b]; });
  std::stable_sort(backward.begin(), backward.end(),
                   [&](std::size_t a, std::size_t b) { return times[a] > times[b]; });
  for (std::size_t k : at_epoch) {
    out[k].state = y0;
    out[k].partials = {};
    for (std::size_t i = 0; i < 6; ++i) out[k].partials[7 * i] = 1.0;
  }
  integrate_branch(t0, y0, times, forward, planets, budget, out);
  integrate_branch(t0, y0, times, backward, planets, budget, out);
  return out;
}

Vector3 earth_heliocentric(double tt) {
  double pvh[2][3], pvb[2][3];
  eraEpv00(kMjdZero, tt - kMjdZero, pvh, pvb);
  return {pvh[0][0], pvh[0][1], pvh[0][2]};
}

ElementSet state_to_elements(const State6& y) {
  const Vector3 r = to_ecliptic(y[0], y[1], y[2]);
  const Vector3 v = to_ecliptic(y[3], y[4], y[5]);
  ElementSet el{};
  E1(r, v, el, 0.0);
  return el;
}

State6 elements_to_state(const ElementSet& elements) {
  Vector3 r, v;
  PV(elements, r, v);
  const Vector3 re = to_equator(r), ve = to_equator(v);
  return {re[0], re[1], re[2], ve[0], ve[1], ve[2]};
}

}  // namespace astro::detail
