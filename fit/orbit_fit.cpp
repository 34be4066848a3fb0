// SPDX-License-Identifier: MIT
#include "fit/orbit_fit.hpp"

#include <erfa.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "catalog/fixed_field.hpp"
#include "core/constants.hpp"
#include "fit/motion.hpp"
#include "orbit/determination.hpp"
#include "orbit/linear.hpp"
#include "orbit/state_vector.hpp"

namespace astro {

namespace {

using detail::Matrix6;
using detail::MotionSample;
using detail::State6;

constexpr double kRadToArcsec = 648000.0 / std::numbers::pi;
constexpr double kMjdZero = 2400000.5;
// The speed of light, au/day (IAU 2012 au of 149,597,870,700 m).
constexpr double kLightAuPerDay = 299792458.0 * 86400.0 / 149597870700.0;

// Bounds of the iterations, each far above what a well-posed fit needs.
constexpr int kMaxLightTimeIterations = 10;      // converges to 1e-12 day in 2 or 3
constexpr int kMaxLeastSquaresIterations = 60;   // per rejection round; 5 to 15 are usual
constexpr int kMaxDampingTries = 16;             // Levenberg-Marquardt lambda increases per step
constexpr int kMaxRejectionRounds = 10;          // rounds of the outlier rule
constexpr std::size_t kMaxTriples = 48;          // E3 triples tried
constexpr std::size_t kMaxStarts = 6;            // preliminary orbits refined by least squares
constexpr int kMaxArcStages = 40;                // arc doublings from a triple to all data
constexpr double kApparitionGapDays = 90.0;      // a longer gap starts a new apparition
constexpr double kMinTripleSpacingDays = 0.5;    // between the three observations of E3
constexpr double kConvergedRelativeChange = 1e-9;
constexpr double kStartAcceptArcsec = 3600.0;    // a preliminary orbit's RMS must be below this

// One observation with what the fit needs of it.
struct Prepared {
  std::size_t index;  // in the caller's span
  double jd_utc;
  double tt;
  double ra, dec;
  Vector3 observer;  // heliocentric, au, GCRS axes
  std::string code;
};

// Residuals and their partials for one state at the epoch.
struct Evaluation {
  std::vector<double> res;  // 2 per observation: dRA cos Dec, dDec (radians)
  std::vector<std::array<double, 6>> rows;  // their partials with respect to the state
};

double wrap_pi(double x) { return std::remainder(x, 2.0 * std::numbers::pi); }

Evaluation evaluate(MotionModel model, double t0, const State6& y0,
                    const std::vector<Prepared>& obs, const detail::PlanetTable& planets,
                    detail::WorkBudget& budget) {
  std::vector<double> times(obs.size());
  for (std::size_t k = 0; k < obs.size(); ++k) times[k] = obs[k].tt;
  const std::vector<MotionSample> samples =
      detail::propagate(model, t0, y0, times, planets, &budget);
  Evaluation ev;
  ev.res.resize(2 * obs.size());
  ev.rows.resize(2 * obs.size());
  for (std::size_t k = 0; k < obs.size(); ++k) {
    const State6& y = samples[k].state;
    const Matrix6& phi = samples[k].partials;
    const Vector3 r = {y[0], y[1], y[2]};
    const double rn = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const double f = -detail::kGaussK2 / (rn * rn * rn);
    // Light time: the body's position at t - tau, from a second-order expansion about t
    // (the third-order term is below 1e-11 au for tau < 0.05 day).
    double tau = 0.0;
    Vector3 rho{};
    for (int it = 0; it < kMaxLightTimeIterations; ++it) {
      for (std::size_t i = 0; i < 3; ++i)
        rho[i] = r[i] - tau * y[i + 3] + 0.5 * tau * tau * f * r[i] - obs[k].observer[i];
      const double next = std::sqrt(rho[0] * rho[0] + rho[1] * rho[1] + rho[2] * rho[2]) /
                          kLightAuPerDay;
      const bool settled = std::abs(next - tau) < 1e-12;
      tau = next;
      if (settled) break;
    }
    const double delta = std::sqrt(rho[0] * rho[0] + rho[1] * rho[1] + rho[2] * rho[2]);
    const double ra = std::atan2(rho[1], rho[0]);
    const double dec = std::asin(std::clamp(rho[2] / delta, -1.0, 1.0));
    ev.res[2 * k] = wrap_pi(obs[k].ra - ra) * std::cos(obs[k].dec);
    ev.res[2 * k + 1] = obs[k].dec - dec;
    const double sa = std::sin(ra), ca = std::cos(ra), sd = std::sin(dec), cd = std::cos(dec);
    const double u_ra[3] = {-sa / delta, ca / delta, 0.0};
    const double u_dec[3] = {-sd * ca / delta, -sd * sa / delta, cd / delta};
    for (std::size_t c = 0; c < 6; ++c) {
      double a = 0.0, b = 0.0;
      for (std::size_t i = 0; i < 3; ++i) {
        const double drho = phi[6 * i + c] - tau * phi[6 * (i + 3) + c];
        a += u_ra[i] * drho;
        b += u_dec[i] * drho;
      }
      ev.rows[2 * k][c] = a;
      ev.rows[2 * k + 1][c] = b;
    }
  }
  return ev;
}

double cost(const Evaluation& ev, const std::vector<bool>& used) {
  double s = 0.0;
  for (std::size_t k = 0; k < used.size(); ++k)
    if (used[k]) s += ev.res[2 * k] * ev.res[2 * k] + ev.res[2 * k + 1] * ev.res[2 * k + 1];
  return s;
}

std::size_t count_used(const std::vector<bool>& used) {
  return static_cast<std::size_t>(std::count(used.begin(), used.end(), true));
}

// Normal matrix J^T J and right-hand side J^T r of the used observations.
void normal_equations(const Evaluation& ev, const std::vector<bool>& used, Matrix6& n,
                      State6& g) {
  n = {};
  g = {};
  for (std::size_t k = 0; k < used.size(); ++k) {
    if (!used[k]) continue;
    for (std::size_t m = 2 * k; m < 2 * k + 2; ++m)
      for (std::size_t i = 0; i < 6; ++i) {
        g[i] += ev.rows[m][i] * ev.res[m];
        for (std::size_t j = 0; j < 6; ++j) n[6 * i + j] += ev.rows[m][i] * ev.rows[m][j];
      }
  }
}

// Solves a x = b by GEM (orbit/linear.hpp); false when it finds the matrix singular.
bool solve6(const Matrix6& a, const State6& b, State6& x) {
  Matrix6 m = a;
  x = b;
  std::int32_t flag = 0;
  GEM(m, x, 6, 6, flag);
  return flag == 0 && std::all_of(x.begin(), x.end(), [](double v) { return std::isfinite(v); });
}

bool invert6(const Matrix6& a, Matrix6& inverse) {
  for (std::size_t c = 0; c < 6; ++c) {
    State6 e{}, x{};
    e[c] = 1.0;
    if (!solve6(a, e, x)) return false;
    for (std::size_t r = 0; r < 6; ++r) inverse[6 * r + c] = x[r];
  }
  return true;
}

struct LsqOutcome {
  bool converged = false;
  int iterations = 0;
  Evaluation ev;
  Matrix6 normal{};
};

// Levenberg-Marquardt on the six components of the state at t0, unit weights, the damping
// lambda * diag(N). Ends when a step lowers the sum of squares by less than a relative
// 1e-9, or when no damping lowers it (a minimum to rounding).
LsqOutcome least_squares(MotionModel model, double t0, State6& y0,
                         const std::vector<Prepared>& obs, const std::vector<bool>& used,
                         const detail::PlanetTable& planets, detail::WorkBudget& budget) {
  LsqOutcome out;
  out.ev = evaluate(model, t0, y0, obs, planets, budget);
  double current = cost(out.ev, used);
  double lambda = 1e-3;
  State6 g;
  for (int it = 0; it < kMaxLeastSquaresIterations; ++it) {
    normal_equations(out.ev, used, out.normal, g);
    bool accepted = false;
    bool small_change = false;
    for (int tries = 0; tries < kMaxDampingTries; ++tries) {
      Matrix6 damped = out.normal;
      for (std::size_t i = 0; i < 6; ++i) damped[7 * i] *= 1.0 + lambda;
      State6 dx;
      if (!solve6(damped, g, dx)) {
        lambda *= 10.0;
        continue;
      }
      State6 trial = y0;
      for (std::size_t i = 0; i < 6; ++i) trial[i] += dx[i];
      Evaluation ev;
      double trial_cost = 0.0;
      try {
        ev = evaluate(model, t0, trial, obs, planets, budget);
        trial_cost = cost(ev, used);
      } catch (const std::runtime_error&) {
        trial_cost = INFINITY;
      }
      if (std::isfinite(trial_cost) && trial_cost <= current) {
        small_change = current - trial_cost <= kConvergedRelativeChange * current;
        y0 = trial;
        out.ev = std::move(ev);
        current = trial_cost;
        lambda = std::max(lambda / 10.0, 1e-12);
        accepted = true;
        break;
      }
      lambda *= 10.0;
    }
    out.iterations = it + 1;
    if (!accepted || small_change) {
      out.converged = true;
      normal_equations(out.ev, used, out.normal, g);
      return out;
    }
  }
  normal_equations(out.ev, used, out.normal, g);
  return out;
}

double rms_per_coordinate(const Evaluation& ev, const std::vector<bool>& used) {
  const std::size_t n = count_used(used);
  return n == 0 ? 0.0 : std::sqrt(cost(ev, used) / (2.0 * static_cast<double>(n)));
}

// Groups of observations (indices into the time-ordered list) without a gap longer than
// kApparitionGapDays, the longest span first.
std::vector<std::pair<std::size_t, std::size_t>> apparitions(const std::vector<Prepared>& obs) {
  std::vector<std::pair<std::size_t, std::size_t>> groups;
  std::size_t first = 0;
  for (std::size_t k = 1; k <= obs.size(); ++k) {
    if (k == obs.size() || obs[k].tt - obs[k - 1].tt > kApparitionGapDays) {
      groups.emplace_back(first, k - 1);
      first = k;
    }
  }
  std::stable_sort(groups.begin(), groups.end(), [&](const auto& a, const auto& b) {
    return obs[a.second].tt - obs[a.first].tt > obs[b.second].tt - obs[b.first].tt;
  });
  return groups;
}

// Triples for E3: in each apparition (longest first), arcs of the whole span, a half, a
// quarter, down to a thirty-second, each about the apparition's middle and (when shorter
// than the span) also at its start and its end; the first and last observation of each arc
// and the one nearest their mean time.
std::vector<std::array<std::size_t, 3>> candidate_triples(const std::vector<Prepared>& obs) {
  std::vector<std::array<std::size_t, 3>> triples;
  for (const auto& [first, last] : apparitions(obs)) {
    const double begin = obs[first].tt, span = obs[last].tt - obs[first].tt;
    for (double fraction : {1.0, 0.5, 0.25, 0.125, 0.0625, 0.03125}) {
      const double length = fraction * span;
      for (double centre_at : {0.5, 0.0, 1.0}) {
        if (fraction == 1.0 && centre_at != 0.5) continue;
        const double lo = begin + centre_at * (span - length), hi = lo + length;
        std::size_t i1 = first, i3 = last;
        while (i1 < last && obs[i1].tt < lo) ++i1;
        while (i3 > first && obs[i3].tt > hi) --i3;
        if (i3 <= i1 + 1) continue;
        const double centre = 0.5 * (obs[i1].tt + obs[i3].tt);
        std::size_t i2 = i1 + 1;
        for (std::size_t k = i1 + 1; k < i3; ++k)
          if (std::abs(obs[k].tt - centre) < std::abs(obs[i2].tt - centre)) i2 = k;
        if (obs[i2].tt - obs[i1].tt < kMinTripleSpacingDays ||
            obs[i3].tt - obs[i2].tt < kMinTripleSpacingDays)
          continue;
        const std::array<std::size_t, 3> t = {i1, i2, i3};
        if (std::find(triples.begin(), triples.end(), t) == triples.end()) triples.push_back(t);
        if (triples.size() == kMaxTriples) return triples;
      }
    }
  }
  return triples;
}

// The equatorial state of a preliminary ellipse of E2 or E3 (ecliptic elements on their
// fixed obliquity 0.409099609 rad, M at the epoch), or nothing when the elements are not
// those of a bounded ellipse.
std::optional<State6> ellipse_state(ElementSet el) {
  if (!std::all_of(el.begin(), el.end(), [](double v) { return std::isfinite(v); }) ||
      !(el[element::a] > 0.0 && el[element::a] < 1000.0) ||
      !(el[element::e] >= 0.0 && el[element::e] < 1.0))
    return std::nullopt;
  el[element::M] = wrap_pi(el[element::M]);
  Vector3 r, v;
  PV(el, r, v);
  const double c = std::cos(kObliquityOrbits), s = std::sin(kObliquityOrbits);
  return State6{r[0], c * r[1] - s * r[2], s * r[1] + c * r[2],
                v[0], c * v[1] - s * v[2], s * v[1] + c * v[2]};
}

// A preliminary orbit from E3 on one triple (orbit_from_three_observations, E3's computation
// with the epoch as an argument): the state at t0 (two-body from E3's elements), or nothing
// when E3 gives no ellipse. The Sun's position is taken from the observer, so
// the directions need no parallax correction.
std::optional<State6> preliminary_state(const std::vector<Prepared>& obs,
                                        const std::array<std::size_t, 3>& triple, double t0) {
  std::array<double, 3> t{}, ra{}, dec{};
  std::array<Vector3, 3> sun{};
  for (std::size_t j = 0; j < 3; ++j) {
    const Prepared& o = obs[triple[j]];
    t[j] = o.tt;
    ra[j] = o.ra;
    dec[j] = o.dec;
    sun[j] = {-o.observer[0], -o.observer[1], -o.observer[2]};
  }
  const PreliminaryOrbit orbit = orbit_from_three_observations(t, ra, dec, sun, t0);
  if (orbit.status.coplanar_directions) return std::nullopt;
  return ellipse_state(orbit.elements);
}

// When E3 finds no ellipse (three directions close to one great circle, as for a body near
// the ecliptic): E2 on the first and last observation of the triple over a grid of
// geocentric distances, kDistanceSteps from 0.01 to 100 au times kDistanceRatios for the
// second; the ellipse with the smallest two-body RMS over the triple's arc, below
// kStartAcceptArcsec.
std::optional<State6> distance_search(const std::vector<Prepared>& obs,
                                      const std::array<std::size_t, 3>& triple, double t0,
                                      detail::WorkBudget& budget) {
  constexpr int kDistanceSteps = 40;
  constexpr std::array<double, 7> kDistanceRatios = {0.7, 0.8, 0.9, 1.0, 1.1, 1.25, 1.4};
  const Prepared& o1 = obs[triple[0]];
  const Prepared& o2 = obs[triple[2]];
  const std::array<double, 2> t = {o1.tt, o2.tt}, ra = {o1.ra, o2.ra}, dec = {o1.dec, o2.dec};
  const std::array<Vector3, 2> sun = {Vector3{-o1.observer[0], -o1.observer[1], -o1.observer[2]},
                                      Vector3{-o2.observer[0], -o2.observer[1], -o2.observer[2]}};
  std::vector<bool> window(obs.size());
  for (std::size_t k = triple[0]; k <= triple[2]; ++k) window[k] = true;
  std::optional<State6> best;
  double best_rms = kStartAcceptArcsec;
  const detail::PlanetTable none;
  for (int step = 0; step <= kDistanceSteps; ++step) {
    const double rho = 0.01 * std::pow(10.0, 4.0 * step / kDistanceSteps);
    for (double ratio : kDistanceRatios) {
      const std::array<double, 2> distance = {rho, rho * ratio};
      const std::optional<State6> y =
          ellipse_state(orbit_from_two_positions(t, distance, ra, dec, sun, t0).elements);
      if (!y) continue;
      try {
        const double rms =
            rms_per_coordinate(evaluate(MotionModel::two_body, t0, *y, obs, none, budget), window) *
            kRadToArcsec;
        if (rms < best_rms) {
          best_rms = rms;
          best = y;
        }
      } catch (const std::runtime_error&) {
      }
    }
  }
  return best;
}

// From a preliminary state at t_mid: least squares on the observations within the triple's
// arc, then on arcs twice as long about t_mid, until the arc holds every observation (at most
// kMaxArcStages arcs). The first arc is fitted with two-body motion before the model. The
// state at t_mid, or nothing when an arc does not converge below kStartAcceptArcsec.
std::optional<State6> widen_arc(MotionModel model, State6 y, double t_mid,
                                const std::array<std::size_t, 3>& triple,
                                const std::vector<Prepared>& obs,
                                const detail::PlanetTable& planets,
                                detail::WorkBudget& budget, int& iterations) {
  double half = std::max(t_mid - obs[triple[0]].tt, obs[triple[2]].tt - t_mid);
  const double needed = std::max(t_mid - obs.front().tt, obs.back().tt - t_mid);
  for (int stage = 0; stage < kMaxArcStages; ++stage) {
    std::vector<bool> window(obs.size());
    for (std::size_t k = 0; k < obs.size(); ++k) window[k] = std::abs(obs[k].tt - t_mid) <= half;
    if (count_used(window) < 3) return std::nullopt;
    if (stage == 0 && model != MotionModel::two_body) {
      const LsqOutcome first =
          least_squares(MotionModel::two_body, t_mid, y, obs, window, planets, budget);
      iterations += first.iterations;
    }
    const LsqOutcome step = least_squares(model, t_mid, y, obs, window, planets, budget);
    iterations += step.iterations;
    if (!step.converged || !(rms_per_coordinate(step.ev, window) * kRadToArcsec < kStartAcceptArcsec))
      return std::nullopt;
    if (half >= needed) return y;
    half = std::min(2.0 * half, needed);
  }
  return std::nullopt;
}

// The observations with a site, their TT instants and observer positions, in time order;
// the others counted in without_site.
std::vector<Prepared> prepare(std::span<const Observation> observations,
                              const ObservatoryTable& sites, std::size_t& without_site) {
  std::vector<Prepared> obs;
  for (std::size_t k = 0; k < observations.size(); ++k) {
    const Observation& o = observations[k];
    const Observatory* site = sites.find(o.observatory);
    if (site == nullptr || !site->has_position || !std::isfinite(o.jd_utc)) {
      ++without_site;
      continue;
    }
    double tai1 = 0, tai2 = 0, tt1 = 0, tt2 = 0;
    const double utc2 = o.jd_utc - kMjdZero;
    if (eraUtctai(kMjdZero, utc2, &tai1, &tai2) < 0 || eraTaitt(tai1, tai2, &tt1, &tt2) != 0) {
      ++without_site;
      continue;
    }
    const double tt = tt1 + tt2;
    const Vector3 geo = observer_geocentric(*site, kMjdZero, utc2, tt1, tt2);
    const Vector3 earth = detail::earth_heliocentric(tt);
    obs.push_back({k, o.jd_utc, tt, o.ra, o.dec,
                   {earth[0] + geo[0], earth[1] + geo[1], earth[2] + geo[2]}, o.observatory});
  }
  std::stable_sort(obs.begin(), obs.end(),
                   [](const Prepared& a, const Prepared& b) { return a.tt < b.tt; });
  return obs;
}

FitResult failure(FitResult result, FitStatus status, std::string message) {
  result.status = status;
  result.message = std::move(message);
  return result;
}

// Elements and their formal uncertainties from the state at the epoch and its covariance;
// the element partials by central differences of E1.
void fill_elements(FitResult& result, const State6& y, const Matrix6& covariance) {
  result.elements = detail::state_to_elements(y);
  result.position = {y[0], y[1], y[2]};
  result.velocity = {y[3], y[4], y[5]};
  constexpr std::array<double, 6> kStep = {1e-8, 1e-8, 1e-8, 1e-10, 1e-10, 1e-10};
  std::array<std::array<double, 6>, 6> jac{};  // d element / d state
  for (std::size_t c = 0; c < 6; ++c) {
    State6 plus = y, minus = y;
    plus[c] += kStep[c];
    minus[c] -= kStep[c];
    const ElementSet ep = detail::state_to_elements(plus), em = detail::state_to_elements(minus);
    for (std::size_t e = 0; e < 6; ++e) {
      double d = ep[e] - em[e];
      if (e >= element::i) d = wrap_pi(d);
      jac[e][c] = d / (2.0 * kStep[c]);
    }
  }
  for (std::size_t e = 0; e < 6; ++e) {
    double v = 0.0;
    for (std::size_t i = 0; i < 6; ++i)
      for (std::size_t j = 0; j < 6; ++j) v += jac[e][i] * covariance[6 * i + j] * jac[e][j];
    result.sigmas[e] = std::sqrt(std::max(v, 0.0));
  }
}

// fit_orbit from the prepared observations on: the starts, the least squares, the outlier
// rule, the covariance and the elements at the caller's epoch; returns the outcome, and
// counts the iterations in `result` as it goes, so that they are there too when the end of
// `budget` throws WorkLimitReached out of here.
FitResult fit_prepared(FitResult& result, const std::vector<Prepared>& obs,
                       const FitOptions& options, double t_fit,
                       const detail::PlanetTable& planets, detail::WorkBudget& budget) {
  const double epoch = result.epoch_jd_tt;
  std::vector<bool> used(obs.size(), true);
  // A converged fit on all observations: from the caller's elements, or from E3 triples
  // (longest apparition first) with the arc widened step by step.
  State6 y{};
  LsqOutcome fit;
  bool converged = false;
  std::string error;
  if (options.start_elements) {
    ElementSet el = *options.start_elements;
    const double n = 0.01720209895 / std::pow(el[element::a], 1.5);
    el[element::M] = wrap_pi(el[element::M] + n * (t_fit - options.start_epoch_jd_tt));
    y = detail::elements_to_state(el);
    try {
      fit = least_squares(options.model, t_fit, y, obs, used, planets, budget);
      result.iterations += fit.iterations;
      converged = fit.converged && rms_per_coordinate(fit.ev, used) * kRadToArcsec < kStartAcceptArcsec;
    } catch (const std::runtime_error& e) {
      error = e.what();
    }
  } else {
    std::size_t refined = 0;
    bool any_start = false;
    for (const auto& triple : candidate_triples(obs)) {
      if (refined == kMaxStarts) break;
      const double t_mid = obs[triple[1]].tt;
      std::optional<State6> start = preliminary_state(obs, triple, t_mid);
      if (!start) start = distance_search(obs, triple, t_mid, budget);
      if (!start) continue;
      any_start = true;
      ++refined;
      try {
        const std::optional<State6> found =
            widen_arc(options.model, *start, t_mid, triple, obs, planets, budget, result.iterations);
        if (!found) continue;
        // To the fit's epoch, then the fit on every observation.
        const double times[1] = {t_fit};
        y = t_mid == t_fit ? *found
                           : detail::propagate(options.model, t_mid, *found, times, planets, &budget)[0].state;
        fit = least_squares(options.model, t_fit, y, obs, used, planets, budget);
        result.iterations += fit.iterations;
        if (fit.converged && rms_per_coordinate(fit.ev, used) * kRadToArcsec < kStartAcceptArcsec) {
          converged = true;
          break;
        }
      } catch (const std::runtime_error& e) {
        error = e.what();
      }
    }
    if (!any_start)
      return failure(result, FitStatus::no_preliminary_orbit,
                     "no triple of observations gave a preliminary ellipse");
  }
  if (!converged)
    return failure(result, error.empty() ? FitStatus::not_converged : FitStatus::integration_failed,
                   error.empty() ? "the least squares did not converge" : error);

  if (options.outlier_sigma > 0.0) {
    for (int round = 0; round < kMaxRejectionRounds; ++round) {
      const double limit = options.outlier_sigma * rms_per_coordinate(fit.ev, used);
      std::vector<bool> next(obs.size());
      for (std::size_t k = 0; k < obs.size(); ++k)
        next[k] = std::abs(fit.ev.res[2 * k]) <= limit && std::abs(fit.ev.res[2 * k + 1]) <= limit;
      if (next == used || count_used(next) < 3) break;
      used = next;
      try {
        fit = least_squares(options.model, t_fit, y, obs, used, planets, budget);
      } catch (const std::runtime_error& e) {
        return failure(result, FitStatus::integration_failed, e.what());
      }
      result.iterations += fit.iterations;
      if (!fit.converged) return failure(result, FitStatus::not_converged,
                                         "the least squares did not converge after rejections");
    }
  }

  // Covariance of the state: (J^T J)^-1 times the variance of unit weight.
  const std::size_t n_used = count_used(used);
  Matrix6 cov{};
  if (!invert6(fit.normal, cov))
    return failure(result, FitStatus::not_converged, "the normal equations are singular");
  const double dof = 2.0 * static_cast<double>(n_used) - 6.0;
  const double unit_variance = dof > 0.0 ? cost(fit.ev, used) / dof : 0.0;
  for (double& c : cov) c *= unit_variance;

  // To the caller's epoch: the state and the covariance carried by the partials.
  State6 y_epoch = y;
  if (epoch != t_fit) {
    try {
      const double times[1] = {epoch};
      const MotionSample s = detail::propagate(options.model, t_fit, y, times, planets, &budget)[0];
      y_epoch = s.state;
      Matrix6 tmp{}, out{};
      for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t j = 0; j < 6; ++j)
          for (std::size_t k = 0; k < 6; ++k) tmp[6 * i + j] += s.partials[6 * i + k] * cov[6 * k + j];
      for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t j = 0; j < 6; ++j)
          for (std::size_t k = 0; k < 6; ++k) out[6 * i + j] += tmp[6 * i + k] * s.partials[6 * j + k];
      cov = out;
    } catch (const std::runtime_error& e) {
      return failure(result, FitStatus::integration_failed, e.what());
    }
  }
  fill_elements(result, y_epoch, cov);
  // E1 describes direct ellipses only: a fit that settles on a hyperbolic or retrograde
  // state (as one drawn to the observer by inconsistent lines may) has no elements.
  const auto finite = [](const ElementSet& v) {
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
  };
  if (!finite(result.elements) || !finite(result.sigmas))
    return failure(result, FitStatus::not_converged,
                   "the fitted state is no direct elliptic orbit: its elements are not finite");

  result.rms_arcsec = rms_per_coordinate(fit.ev, used) * kRadToArcsec;
  result.observations_used = n_used;
  result.observations_rejected = obs.size() - n_used;
  result.residuals.reserve(obs.size());
  for (std::size_t k = 0; k < obs.size(); ++k)
    result.residuals.push_back({obs[k].jd_utc, obs[k].code, fit.ev.res[2 * k] * kRadToArcsec,
                                fit.ev.res[2 * k + 1] * kRadToArcsec, used[k]});
  result.status = FitStatus::ok;
  return result;
}

}  // namespace

std::string_view status_name(FitStatus status) {
  switch (status) {
    case FitStatus::ok: return "ok";
    case FitStatus::file_error: return "file_error";
    case FitStatus::no_observations: return "no_observations";
    case FitStatus::too_few_observations: return "too_few_observations";
    case FitStatus::no_preliminary_orbit: return "no_preliminary_orbit";
    case FitStatus::not_converged: return "not_converged";
    case FitStatus::integration_failed: return "integration_failed";
    case FitStatus::work_limit: return "work_limit";
  }
  return "unknown";
}

FitResult fit_orbit(std::span<const Observation> observations, const ObservatoryTable& sites,
                    const FitOptions& options) {
  FitResult result;
  result.model = options.model;
  if (!observations.empty()) result.object = observations.front().designation;

  // Time scales and the observers' places, once for all iterations.
  std::vector<Prepared> obs = prepare(observations, sites, result.observations_without_site);
  if (obs.empty())
    return failure(result, FitStatus::no_observations,
                   observations.empty() ? "no observation of the object"
                                        : "no observation from an observatory with coordinates");
  if (obs.size() < 3 || obs.back().tt - obs.front().tt <= 0.0)
    return failure(result, FitStatus::too_few_observations,
                   "fewer than three observations at distinct instants");

  // The fit's own epoch: the middle observation; the caller's epoch is reached at the end.
  const double t_fit = obs[obs.size() / 2].tt;
  const double epoch = options.epoch_jd_tt.value_or(t_fit);
  result.epoch_jd_tt = epoch;
  // The planets over the whole span of the fit, once.
  detail::PlanetTable planets;
  if (options.model == MotionModel::perturbed) {
    try {
      planets = detail::PlanetTable(std::min({obs.front().tt, epoch}), std::max({obs.back().tt, epoch}));
    } catch (const std::runtime_error& e) {
      return failure(result, FitStatus::integration_failed, e.what());
    }
  }

  detail::WorkBudget budget(options.work_limit);
  try {
    return fit_prepared(result, obs, options, t_fit, planets, budget);
  } catch (const detail::WorkLimitReached&) {
    return failure(result, FitStatus::work_limit,
                   "the fit reached its work bound (" + std::to_string(budget.limit()) +
                       " units of motion) before an orbit was found");
  }
}

FitResult orbit_residuals(std::span<const Observation> observations,
                          const ObservatoryTable& sites, const ElementSet& elements,
                          double epoch_jd_tt, MotionModel model) {
  FitResult result;
  result.model = model;
  result.epoch_jd_tt = epoch_jd_tt;
  result.elements = elements;
  if (!observations.empty()) result.object = observations.front().designation;
  const std::vector<Prepared> obs = prepare(observations, sites, result.observations_without_site);
  if (obs.empty())
    return failure(result, FitStatus::no_observations,
                   "no observation from an observatory with coordinates");
  ElementSet el = elements;
  el[element::M] = wrap_pi(el[element::M]);
  const State6 y = detail::elements_to_state(el);
  try {
    detail::PlanetTable planets;
    if (model == MotionModel::perturbed)
      planets = detail::PlanetTable(std::min(obs.front().tt, epoch_jd_tt),
                                    std::max(obs.back().tt, epoch_jd_tt));
    detail::WorkBudget budget(kDefaultWorkLimit);
    const Evaluation ev = evaluate(model, epoch_jd_tt, y, obs, planets, budget);
    const std::vector<bool> used(obs.size(), true);
    result.rms_arcsec = rms_per_coordinate(ev, used) * kRadToArcsec;
    for (std::size_t k = 0; k < obs.size(); ++k)
      result.residuals.push_back({obs[k].jd_utc, obs[k].code, ev.res[2 * k] * kRadToArcsec,
                                  ev.res[2 * k + 1] * kRadToArcsec, true});
  } catch (const std::runtime_error& e) {
    return failure(result, FitStatus::integration_failed, e.what());
  } catch (const detail::WorkLimitReached&) {
    return failure(result, FitStatus::work_limit,
                   "the motion to the observations took more than " +
                       std::to_string(kDefaultWorkLimit) + " units of work");
  }
  result.position = {y[0], y[1], y[2]};
  result.velocity = {y[3], y[4], y[5]};
  result.observations_used = obs.size();
  result.status = FitStatus::ok;
  return result;
}

FitResult fit_orbit_file(std::string_view observation_file, std::string_view object,
                         std::string_view observatory_file, const FitOptions& options) {
  FitResult result;
  result.object = std::string(object);
  result.model = options.model;
  std::vector<Observation> observations;
  ObservatoryTable sites;
  try {
    observations = read_observations(observation_file, object, options.note2_codes);
    sites = read_observatories(observatory_file);
  } catch (const ObservationFileError& e) {
    return failure(result, FitStatus::file_error, e.what());
  } catch (const ObservatoryFileError& e) {
    return failure(result, FitStatus::file_error, e.what());
  } catch (const FieldError& e) {
    return failure(result, FitStatus::file_error, e.what());
  }
  FitResult fit = fit_orbit(observations, sites, options);
  fit.object = std::string(object);
  return fit;
}

}  // namespace astro
