// SPDX-License-Identifier: MIT
#include "solar/kepler.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace astro {

namespace {

constexpr double kTolerance = 1e-13;
constexpr long kKeplerPasses = 1000000;
constexpr long kOtherPasses = 1000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Remembers the last two stored iterates to see an iteration that has started to cycle.
class Repeats {
 public:
  explicit Repeats(double start) : last_(start) {}
  // True when next equals the iterate of the pass before or of the pass before that.
  bool seen(double next) {
    const bool repeated = next == last_ || next == before_;
    before_ = last_;
    last_ = next;
    return repeated;
  }

 private:
  double last_;
  double before_ = kNaN;
};

// The last place of a normal double x (0 for zero and subnormals, NaN or infinity beyond).
double last_place(double x) {
  constexpr std::uint64_t kExponentBits = 0x7ff0000000000000;
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) & kExponentBits) * 0x1p-52;
}

struct KeplerPass {
  double E;    // the new iterate
  bool moved;  // whether it moved by kTolerance or more
};

// One pass of KEPLER from the iterate E with t = e sin E: the sum next = M + t in long double
// (64-bit significand), E' = next stored as a double, and whether |next - E|, in long double,
// is at least kTolerance. The same is found in double wherever it is certain: M + t = s + err
// exactly (s the double sum); unless err lies within 2^-11 last places of half a last place
// of s (where rounding twice can differ from rounding once), next rounds to E' = s, and
// next - E = (s - E) + err within the slack below, which decides the test unless |next - E|
// lies within that slack of kTolerance. Those rare passes are done in long double.
KeplerPass kepler_pass(double M, double t, double E) {
  const double s = M + t;
  const double b = s - M;
  const double err = (M - (s - b)) + (t - b);
  const double ulp = last_place(s);
  if (std::fabs(err) < ulp * (0.5 - 0x1p-11)) {
    const double d = s - E;
    const double change = d + err;
    const double slack = (std::fabs(d) + std::fabs(change)) * 0x1p-52 + ulp * 0x1p-11;
    if (std::fabs(change) - slack >= kTolerance) return {s, true};
    if (std::fabs(change) + slack < kTolerance * (1 - 0x1p-52)) return {s, false};
  }
  const long double next = static_cast<long double>(M) + static_cast<long double>(t);
  const long double change = std::fabs(next - static_cast<long double>(E));
  return {static_cast<double>(next), change >= kTolerance};
}

}  // namespace

double KEPLER(double M, double e) {
  if (!std::isfinite(M) || !std::isfinite(e)) return kNaN;
  double E = M + e * std::sin(M);
  Repeats repeats(E);
  for (long pass = 0; pass < kKeplerPasses; ++pass) {
    const KeplerPass next = kepler_pass(M, e * std::sin(E), E);
    E = next.E;
    if (!next.moved || repeats.seen(E)) break;
  }
  return E;
}

double WEGSTEIN(double M, double e) {
  if (!std::isfinite(M) || !std::isfinite(e)) return kNaN;
  const auto g = [M, e](double x) { return M + e * std::sin(x); };
  double x0 = M + e;
  double g0 = g(x0);
  double x1 = g0;
  double g1 = g(x1);
  Repeats repeats(x1);
  for (long pass = 0; pass < kOtherPasses; ++pass) {
    const double residual = x1 - g1;
    if (residual == 0) break;
    const double denominator = (x0 - g0) / residual - 1;
    if (denominator == 0) break;
    const double x2 = x1 + (x1 - x0) / denominator;
    const double g2 = g(x2);
    x0 = x1;
    g0 = g1;
    x1 = x2;
    g1 = g2;
    if (!(std::fabs(x1 - x0) >= kTolerance) || repeats.seen(x1)) break;
  }
  return x1;
}

double EKEPL1(double M, double e) {
  if (!std::isfinite(M) || !std::isfinite(e)) return kNaN;
  const double c = e * std::cos(M);
  const double s = e * std::sin(M);
  double x = s / std::sqrt(((e * e - c) - c) + 1);
  Repeats repeats(x);
  for (long pass = 0; pass < kOtherPasses; ++pass) {
    const double cx = std::cos(x);
    const double sx = std::sin(x);
    const double fp = (1 - c * cx) + s * sx;  // 1 - e cos(M + x)
    const double q = s * cx + c * sx;         // e sin(M + x)
    const double f = x - q;
    const long double next =
        static_cast<long double>(x) - static_cast<long double>(f * fp / (fp * fp - 0.5 * f * q));
    const long double change = std::fabs(next - static_cast<long double>(x));
    x = static_cast<double>(next);
    if (!(change >= kTolerance) || repeats.seen(x)) break;
  }
  return M + x;
}

double EMKEPL(double E, double e) {
  if (!std::isfinite(E) || !std::isfinite(e)) return kNaN;
  double S = std::sin(E) * (1 - e);
  const double w = -(E * E);
  double t = E;
  double n = 0;
  Repeats repeats(S);
  for (long term = 0; term < kOtherPasses; ++term) {
    n = n + 2;
    t = w * t / ((n + 1) * n);
    const double next = S - t;
    const double change = std::fabs(next - S);
    S = next;
    if (!(change >= kTolerance) || repeats.seen(S)) break;
  }
  return S;
}

}  // namespace astro
