// SPDX-License-Identifier: MIT
#include "solar/events.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/constants.hpp"
#include "core/errors.hpp"
#include "core/math.hpp"
#include "core/types.hpp"
#include "solar/rotation.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// How the search works.
//
// The Sun's direction on the true equator of the date changes slowly (about a degree a
// day), the Earth's rotation fast. So the chain itself (sun_position) is evaluated only at
// the ends and the middle of each day of the search, and in between the unit vector of the
// Sun on the true equator is the quadratic through those three. The hour-angle and horizon
// frames are then formed as the chain forms them: the same LST, the same rotation by
// lst * pi / 12 and by the co-latitude. The quadratic departs from the chain's vector by a
// few milliarcseconds at most (the largest non-linear part of the Sun's motion over half a
// day: 2.5 degrees of reduction to the equator with a period of half a year, 0.2" of
// nutation with a period of 13.7 days). Where the height changes by 1" a second or more
// that moves a crossing by a few milliseconds at most, far less than the 0.1 s promised.
//
// Each day is sampled every hour. Between two samples a crossing of a height is found from
// the signs of sin(height) - sin(level) at the ends, and a pair of crossings cannot hide
// there: with |d2 sin(h)/dt2| <= M,
//   - if d sin(h)/dt has one sign at both ends and half their sum exceeds M w / 2 (w the
//     interval), the derivative keeps its sign throughout and the height is monotonic;
//   - if both ends lie on one side by more than M w^2 / 8, the height cannot reach the
//     level in between (it stays above the chord minus M w^2 / 8);
//   - otherwise the interval is halved, at most kMaxDepth times (an hour down to 0.2 ms).
// Bound M: sin h = sin(phi) sin(dec) + cos(phi) cos(dec) cos(H), so
//   |d2 sin h / dt2| <= cos(phi) (H'^2 + 2 H' |dec'| + |H''| + dec'^2 + |dec''|)
//                       + |sin(phi)| (dec'^2 + |dec''|)
// with the hour angle's rate H' below the sidereal rate 6.3004 rad/day, |dec'| <= 0.0072
// rad/day (0.41 degrees a day at the equinoxes), |dec''| and |H''| = |RA''| below 5e-4
// rad/day^2: at most 39.8 cos(phi) + 2e-4. kCurvature takes 40 cos(phi) + 1e-3.
// Transits are sign changes of the Sun's y coordinate in the hour-angle frame (-cos(dec)
// sin H): no wrap of the hour angle at 0 and 2 pi, and since H grows by 15 degrees an hour,
// one interval holds at most one zero and none can touch without crossing.

constexpr double kSegmentDays = 1.0;
constexpr int kStepsPerSegment = 24;
constexpr double kStepDays = kSegmentDays / kStepsPerSegment;
constexpr int kMaxDepth = 24;  // 3600 s / 2^24 = 0.21 ms

// Sidereal rate of the chain's LST, radians per day: 24 h times 1.0027378797531128, turned
// into an angle as RIZAR turns lst (times the program's pi, divided by 12).
constexpr double kSiderealRate = 1.0027378797531128 * 24 * kPi / 12;

// Right angle of the co-latitude, as the Sun's chain writes it (half the program's pi).
constexpr double kRightAngle = 1.57079632675;

// Refinement: Newton's method kept inside the bracket (a step that would leave it bisects
// instead). Every pass shrinks the bracket, and the search stops when a step is below
// kRootTolerance days (86 microseconds), where the next one would be far below it; at most
// kMaxPasses passes (from an hour, bisection alone gets below the tolerance in 25).
constexpr int kMaxPasses = 60;
constexpr double kRootTolerance = 1e-9;

// Dip of the sea horizon with standard terrestrial refraction: 1.76' per square root of a
// metre.
constexpr double kDipPerSqrtMetre = 1.76 / 60 * kDegToRad;

constexpr double kTwilightCivil = -6 * kDegToRad;
constexpr double kTwilightNautical = -12 * kDegToRad;
constexpr double kTwilightAstronomical = -18 * kDegToRad;

// The Sun's unit vector on the true equator and equinox of the date, from the chain.
Vector3 equator_of_date(double jd, const Site& site) {
  SunOptions chain;
  chain.refraction = false;
  const SunPosition p = sun_position(jd, site, chain);
  const double cd = std::cos(p.declination);
  return {cd * std::cos(p.right_ascension), cd * std::sin(p.right_ascension),
          std::sin(p.declination)};
}

// What the search needs at one instant.
struct Sample {
  double sin_h;    // sine of the geometric height
  double rate;     // d sin_h / dt, per day
  double x1, x2;   // hour-angle frame: x1 toward the meridian, x2 = -cos(dec) sin(H)
  double x2_rate;  // d x2 / dt, per day
};

// The quadratic of one day and the site's fixed quantities.
class Model {
 public:
  explicit Model(const Site& site)
      : site_(site),
        londeg_(site.longitude / kDegToRad),
        sin_colat_(std::sin(kRightAngle - site.latitude)),
        cos_colat_(std::cos(kRightAngle - site.latitude)) {}

  // Segment [start, start + kSegmentDays]; v_start is the chain's vector at its start.
  void set_segment(double start, const Vector3& v_start) {
    start_ = start;
    const Vector3 v_mid = equator_of_date(start + kSegmentDays / 2, site_);
    v_end_ = equator_of_date(start + kSegmentDays, site_);
    for (std::size_t i = 0; i < 3; ++i) {
      a_[i] = v_start[i];
      b_[i] = -3 * v_start[i] + 4 * v_mid[i] - v_end_[i];
      c_[i] = 2 * v_start[i] - 4 * v_mid[i] + 2 * v_end_[i];
    }
  }
  const Vector3& end_vector() const { return v_end_; }

  Sample sample(double jd) const {
    Vector3 v, dv;
    equator(jd, v, dv);
    double gmst0, gmst, lst;
    LST(jd, londeg_, gmst0, gmst, lst);
    const double theta = lst * kPi / 12;
    const double c = std::cos(theta), s = std::sin(theta);
    const double x1 = c * v[0] + s * v[1];
    const double x2 = -s * v[0] + c * v[1];
    const double dx1 = kSiderealRate * x2 + c * dv[0] + s * dv[1];
    const double dx2 = -kSiderealRate * x1 - s * dv[0] + c * dv[1];
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    const double dn = (v[0] * dv[0] + v[1] * dv[1] + v[2] * dv[2]) / n;
    const double z = sin_colat_ * x1 + cos_colat_ * v[2];
    const double dz = sin_colat_ * dx1 + cos_colat_ * dv[2];
    const double sin_h = z / n;
    return {sin_h, (dz - sin_h * dn) / n, x1 / n, x2 / n, (dx2 - x2 / n * dn) / n};
  }

  // Azimuth (north through east) and height of the Sun at jd, as sun_position gives them.
  void horizontal(double jd, double& azimuth, double& height) const {
    Vector3 v, dv;
    equator(jd, v, dv);
    double gmst0, gmst, lst;
    LST(jd, londeg_, gmst0, gmst, lst);
    Vector3 hour_angle_frame, horizon_frame;
    ROTAT3(v, hour_angle_frame, lst * kPi / 12);
    ROTAT2(hour_angle_frame, horizon_frame, kRightAngle - site_.latitude);
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    height = asin_clamped(horizon_frame[2] / n);
    const double azimuth_south = NULA2PI(-std::atan2(horizon_frame[1], horizon_frame[0]));
    azimuth = azimuth_south < kPi ? azimuth_south + kPi : azimuth_south - kPi;
  }

 private:
  void equator(double jd, Vector3& v, Vector3& dv) const {
    const double u = (jd - start_) / kSegmentDays;
    for (std::size_t i = 0; i < 3; ++i) {
      v[i] = a_[i] + u * (b_[i] + u * c_[i]);
      dv[i] = (b_[i] + 2 * u * c_[i]) / kSegmentDays;
    }
  }

  Site site_;
  double londeg_, sin_colat_, cos_colat_;
  double start_ = 0;
  Vector3 a_{}, b_{}, c_{}, v_end_{};
};

// One height the search looks for and the kinds of its upward and downward crossings.
struct Level {
  double sin_level;
  SunEventKind rising, setting;
};

// Root of a function between a and b, where its values fa and fb lie on different sides of
// zero (negative against zero or positive). f(t) gives the value and its derivative, in a
// std::pair. See kMaxPasses for the bound.
template <class F>
double refine(const F& f, double a, double fa, double b, double fb) {
  double t = a + (b - a) * (fa / (fa - fb));  // the chord's zero to start
  if (!(t > a && t < b)) t = 0.5 * (a + b);
  for (int pass = 0; pass < kMaxPasses; ++pass) {  // at most 60 passes (kMaxPasses)
    const auto [ft, rate] = f(t);
    if (ft == 0) return t;
    if ((ft < 0) == (fa < 0)) {
      a = t;
      fa = ft;
    } else {
      b = t;
    }
    const double step = ft / rate;
    if (std::fabs(step) < kRootTolerance) return t - step;
    double next = t - step;
    if (!(next > a && next < b)) next = 0.5 * (a + b);  // also for a rate of 0 or NaN
    if (!(next > a && next < b)) return t;              // no double left between the ends
    t = next;
  }
  return t;
}

class Search {
 public:
  Search(const Site& site, double jd_from, double jd_to, std::vector<SunEvent>& out)
      : model_(site),
        curvature_(40 * std::cos(site.latitude) + 1e-3),
        jd_from_(jd_from),
        jd_to_(jd_to),
        out_(out) {}

  Model& model() { return model_; }

  // Every event between two samples of one segment.
  void interval(double a, const Sample& sa, double b, const Sample& sb,
                const std::array<Level, 4>& levels) {
    if ((sa.x2 < 0) != (sb.x2 < 0)) {
      const double t = refine(
          [this](double x) {
            const Sample s = model_.sample(x);
            return std::pair{s.x2, s.x2_rate};
          },
          a, sa.x2, b, sb.x2);
      emit(model_.sample(t).x1 > 0 ? SunEventKind::transit : SunEventKind::lower_transit, t);
    }
    for (const Level& level : levels) scan(a, sa, b, sb, level, 0);  // four levels
  }

 private:
  void scan(double a, const Sample& sa, double b, const Sample& sb, const Level& level,
            int depth) {
    const double fa = sa.sin_h - level.sin_level, fb = sb.sin_h - level.sin_level;
    const double w = b - a;
    const bool monotonic =
        sa.rate * sb.rate > 0 && 0.5 * (std::fabs(sa.rate) + std::fabs(sb.rate)) > 0.5 * curvature_ * w;
    if ((fa < 0) != (fb < 0)) {
      if (monotonic || depth == kMaxDepth) {
        const double sin_level = level.sin_level;
        const double t = refine(
            [this, sin_level](double x) {
              const Sample s = model_.sample(x);
              return std::pair{s.sin_h - sin_level, s.rate};
            },
            a, fa, b, fb);
        emit(fa < 0 ? level.rising : level.setting, t);
        return;
      }
    } else if (monotonic || std::min(std::fabs(fa), std::fabs(fb)) > curvature_ * w * w / 8 ||
               depth == kMaxDepth) {
      return;
    }
    // Halving: the depth grows by one per call and stops at kMaxDepth (24), so one interval
    // of an hour is cut into at most 2^24 pieces for one level, and only where a crossing
    // may hide between its samples.
    const double m = a + 0.5 * w;
    const Sample sm = model_.sample(m);
    scan(a, sa, m, sm, level, depth + 1);
    scan(m, sm, b, sb, level, depth + 1);
  }

  void emit(SunEventKind kind, double t) {
    if (!(t >= jd_from_ && t < jd_to_)) return;
    SunEvent e{kind, t, 0, 0};
    model_.horizontal(t, e.azimuth, e.height);
    out_.push_back(e);
  }

  Model model_;
  double curvature_;  // M of the note above, per day^2
  double jd_from_, jd_to_;
  std::vector<SunEvent>& out_;
};

double sunrise_level(const Site& site, const SunEventOptions& options) {
  if (!(std::fabs(options.horizon) <= kPi / 2)) {
    throw std::invalid_argument("sun_events: the horizon " + std::to_string(options.horizon) +
                                " rad is not a height within [-pi/2, pi/2]");
  }
  double horizon = options.horizon;
  if (options.use_site_height && site.height > 0) {
    horizon -= kDipPerSqrtMetre * std::sqrt(site.height);
  }
  return std::max(horizon, -kPi / 2);
}

}  // namespace

std::string_view sun_event_name(SunEventKind kind) {
  switch (kind) {
    case SunEventKind::astronomical_dawn: return "astronomical_dawn";
    case SunEventKind::nautical_dawn: return "nautical_dawn";
    case SunEventKind::civil_dawn: return "civil_dawn";
    case SunEventKind::sunrise: return "sunrise";
    case SunEventKind::transit: return "transit";
    case SunEventKind::sunset: return "sunset";
    case SunEventKind::civil_dusk: return "civil_dusk";
    case SunEventKind::nautical_dusk: return "nautical_dusk";
    case SunEventKind::astronomical_dusk: return "astronomical_dusk";
    case SunEventKind::lower_transit: return "lower_transit";
  }
  return "unknown";
}

std::string_view day_kind_name(DayKind kind) {
  switch (kind) {
    case DayKind::normal: return "normal";
    case DayKind::polar_day: return "polar_day";
    case DayKind::polar_night: return "polar_night";
  }
  return "unknown";
}

std::vector<SunEvent> sun_events(const Site& site, double jd_from, double jd_to,
                                 const SunEventOptions& options) {
  if (!std::isfinite(jd_from) || !std::isfinite(jd_to)) {
    throw RangeError("sun_events: the range [" + std::to_string(jd_from) + ", " +
                     std::to_string(jd_to) + ") is not finite");
  }
  const std::array<Level, 4> levels = {{
      {std::sin(sunrise_level(site, options)), SunEventKind::sunrise, SunEventKind::sunset},
      {std::sin(kTwilightCivil), SunEventKind::civil_dawn, SunEventKind::civil_dusk},
      {std::sin(kTwilightNautical), SunEventKind::nautical_dawn, SunEventKind::nautical_dusk},
      {std::sin(kTwilightAstronomical), SunEventKind::astronomical_dawn,
       SunEventKind::astronomical_dusk},
  }};
  // The work and the list grow with the range (about ten events a day), and sun_position
  // still answers some 20,000 years out: a range is bounded here, not by the chain.
  constexpr double kMaxRangeDays = 3652500;  // 10,000 Julian years
  if (jd_to - jd_from > kMaxRangeDays) {
    throw RangeError("sun_events: the range [" + std::to_string(jd_from) + ", " +
                     std::to_string(jd_to) + ") is longer than 10,000 years");
  }
  std::vector<SunEvent> events;
  if (!(jd_to > jd_from)) return events;

  // The first sample lies one step before jd_from, so that a crossing at jd_from itself is
  // bracketed; segments follow until one reaches jd_to: at most 3,652,501 of them.
  const double first = jd_from - kStepDays;
  const double segment_count = std::ceil((jd_to - first) / kSegmentDays);
  events.reserve(static_cast<std::size_t>(std::min(segment_count, 1e6)) * 10);
  Search search(site, jd_from, jd_to, events);
  Model& model = search.model();
  Vector3 v_start = equator_of_date(first, site);
  for (double k = 0; k < segment_count; ++k) {  // at most 3,652,501 segments (above)
    const double start = first + k * kSegmentDays;
    model.set_segment(start, v_start);
    double a = start;
    Sample sa = model.sample(a);
    for (int step = 1; step <= kStepsPerSegment && a < jd_to; ++step) {  // 24 steps a day
      const double b = step == kStepsPerSegment ? start + kSegmentDays : start + step * kStepDays;
      const Sample sb = model.sample(b);
      search.interval(a, sa, b, sb, levels);
      a = b;
      sa = sb;
    }
    v_start = model.end_vector();
  }
  std::stable_sort(events.begin(), events.end(), [](const SunEvent& x, const SunEvent& y) {
    return x.jd_ut < y.jd_ut || (x.jd_ut == y.jd_ut && x.kind < y.kind);
  });
  return events;
}

DayKind day_kind(const Site& site, double jd_day_start, const SunEventOptions& options) {
  const std::vector<SunEvent> events = sun_events(site, jd_day_start, jd_day_start + 1, options);
  for (const SunEvent& e : events) {
    if (e.kind == SunEventKind::sunrise || e.kind == SunEventKind::sunset) return DayKind::normal;
  }
  // No crossing of the sunrise horizon all day: the Sun stays on the side it starts on.
  SunOptions chain;
  chain.refraction = false;
  const double height = sun_position(jd_day_start, site, chain).height;
  return height >= sunrise_level(site, options) ? DayKind::polar_day : DayKind::polar_night;
}

}  // namespace astro
