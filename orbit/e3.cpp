// SPDX-License-Identifier: MIT
// Preliminary orbit from three observations by the method of Gauss.
#include <array>
#include <cmath>
#include <cstddef>

#include "core/constants.hpp"
#include "orbit/angles.hpp"
#include "orbit/determination.hpp"
#include "orbit/gauss.hpp"
#include "orbit/site.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

using orbit_detail::kLightTime;
using orbit_detail::kTolerance;

// One sixth and 10/9 at single precision, as the series and the sector ratio use them.
constexpr double kOneSixthF = 0.1666666716337204;
constexpr double kTenNinthsF = 1.1111111640930176;
// Bound on Newton's steps for the middle distance and on the passes of the refinement.
constexpr int kIterationBound = 1000;

constexpr const char* kCoplanar = " The orbit must be determined by four observations.";
constexpr const char* kNegativeDistance =
    " Observations does not correspond with circular orbit.";
constexpr const char* kNotElliptic = " Impossible to derivate eliptical elements.";

double dot(const Vector3& u, const Vector3& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }

double norm(const Vector3& u) { return std::sqrt(dot(u, u)); }

Vector3 cross(const Vector3& u, const Vector3& v) {
  return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

// rho * L - R, the heliocentric position of a body at geocentric distance rho along L.
Vector3 heliocentric(double rho, const Vector3& L, const Vector3& R) {
  return {rho * L[0] - R[0], rho * L[1] - R[1], rho * L[2] - R[2]};
}

// Index 0, 1 or 2 of the largest component (a later one winning a tie), through MAX.
std::size_t largest(const Vector3& u) { return static_cast<std::size_t>(MAX(u[0], u[1], u[2]) - 1); }

// Geometry and series of the three observations, fixed for the whole call.
struct Setup {
  std::array<Vector3, 3> L;  // unit directions, equatorial
  std::array<Vector3, 3> R;  // the Sun's geocentric positions, equatorial, AU
  Vector3 A;                 // L3 x L1
  double D;                  // L2 . A
  std::array<double, 3> B;   // Rj . A
  double c;                  // L2 . R2
  double R2;                 // |R2|
  double a_star;             // constant of the middle-distance equation
};

// Newton's iteration for the middle distance rho2 of rho2 + B'/r2^3 = A*, where
// r2^2 = rho2^2 - 2 rho2 c + |R2|^2; starts from rho2 and stops when a step is below 1e-13,
// NaN, or after kIterationBound steps.
double middle_distance(double rho2, double b_prime, const Setup& g) {
  for (int step = 0; step < kIterationBound; ++step) {
    const double r2 = std::sqrt(rho2 * rho2 - 2 * rho2 * g.c + g.R2 * g.R2);
    const double f = rho2 + b_prime / std::pow(r2, 3.0) - g.a_star;
    const double fp = 1 - 3 * b_prime * (rho2 - g.c) / std::pow(r2, 5.0);
    const double change = f / fp;
    rho2 = rho2 - change;
    if (!(std::fabs(change) >= kTolerance)) break;
  }
  return rho2;
}

// The method itself. Each failure is flagged in the result and, when out is given, written
// there as it is met (the negative middle distance once per pass).
PreliminaryOrbit gauss_method(std::span<const double, 3> times,
                              std::span<const double, 3> right_ascension,
                              std::span<const double, 3> declination,
                              std::span<const double, 3> sun_x, std::span<const double, 3> sun_y,
                              std::span<const double, 3> sun_z, double epoch, std::ostream* out) {
  PreliminaryOrbit result;
  OrbitStatus& status = result.status;
  using orbit_detail::reduce_turn;
  const std::array<double, 3> T = {times[0], times[1], times[2]};

  Setup g{};
  for (std::size_t j = 0; j < 3; ++j) {
    const double cd = std::cos(declination[j]);
    g.L[j] = {std::cos(right_ascension[j]) * cd, std::sin(right_ascension[j]) * cd,
              std::sin(declination[j])};
    g.R[j] = {sun_x[j], sun_y[j], sun_z[j]};
  }
  const auto& L = g.L;
  const auto& R = g.R;
  g.A = {L[2][1] * L[0][2] - L[0][1] * L[2][2], L[0][0] * L[2][2] - L[2][0] * L[0][2],
         L[2][0] * L[0][1] - L[0][0] * L[2][1]};
  g.D = dot(L[1], g.A);
  if (std::fabs(g.D) < kTolerance) {
    status.coplanar_directions = true;
    if (out) *out << kCoplanar << '\n';
  }
  for (std::size_t j = 0; j < 3; ++j) g.B[j] = dot(R[j], g.A);
  g.c = dot(L[1], R[1]);
  g.R2 = norm(R[1]);

  // Series start from the observation times.
  double tau1 = kGaussK * (T[2] - T[1]);
  double tau2 = kGaussK * (T[2] - T[0]);
  double tau3 = kGaussK * (T[1] - T[0]);
  double a1 = tau1 / tau2;
  double a3 = tau3 / tau2;
  double b1 = (a1 + 1) * tau1 * tau3 * kOneSixthF;
  double b3 = (a3 + 1) * tau1 * tau3 * kOneSixthF;
  g.a_star = -(a3 * g.B[2] + a1 * g.B[0] - g.B[1]) / g.D;

  double rho2 = g.a_star;
  double n1 = 0, n3 = 0;
  std::array<double, 3> rho{};
  std::array<Vector3, 3> r{};
  std::array<double, 3> rlen{};
  std::array<double, 3> t{};
  std::array<double, 3> eta{};
  std::int32_t passes = 0;
  while (passes < kIterationBound) {
    ++passes;
    const double n1_before = n1;
    const double n3_before = n3;

    const double b_prime = (b3 * g.B[2] + b1 * g.B[0]) / g.D;
    rho2 = middle_distance(rho2, b_prime, g);
    if (rho2 < 0) {
      status.negative_middle_distance = true;
      if (out) *out << kNegativeDistance << '\n';
    }

    const double r2 = std::sqrt(rho2 * rho2 - 2 * rho2 * g.c + g.R2 * g.R2);
    n1 = a1 + b1 / std::pow(r2, 3.0);
    n3 = a3 + b3 / std::pow(r2, 3.0);
    Vector3 G;
    for (std::size_t c = 0; c < 3; ++c) G[c] = n1 * R[0][c] + n3 * R[2][c] - R[1][c];

    const std::size_t K = largest(g.A);
    rho[1] = rho2;
    rho[0] = -(rho2 * cross(L[1], L[2])[K] + cross(G, L[2])[K]) / (n1 * g.A[K]);
    const std::size_t K3 = largest(L[2]);
    rho[2] = (G[K3] - n1 * rho[0] * L[0][K3] + rho2 * L[1][K3]) / (n3 * L[2][K3]);

    for (std::size_t j = 0; j < 3; ++j) {
      r[j] = heliocentric(rho[j], L[j], R[j]);
      rlen[j] = norm(r[j]);
      t[j] = T[j] - kLightTime * rho[j];
    }
    tau1 = kGaussK * (t[2] - t[1]);
    tau2 = kGaussK * (t[2] - t[0]);
    tau3 = kGaussK * (t[1] - t[0]);
    a1 = tau1 / tau2;
    a3 = tau3 / tau2;

    // Pairs (2, 3), (1, 3), (1, 2), numbered like the interval that spans them.
    const std::array<double, 3> h = {
        orbit_detail::sector_h(rlen[1] * rlen[2] + dot(r[1], r[2]), rlen[1], rlen[2], tau1),
        orbit_detail::sector_h(rlen[0] * rlen[2] + dot(r[0], r[2]), rlen[0], rlen[2], tau2),
        orbit_detail::sector_h(rlen[0] * rlen[1] + dot(r[0], r[1]), rlen[0], rlen[1], tau3)};
    eta = orbit_detail::sector_ratios<3>(h, kTenNinthsF);

    n1 = a1 * eta[1] / eta[0];
    n3 = a3 * eta[1] / eta[2];
    b1 = std::pow(rlen[1], 3.0) * (n1 - a1);
    b3 = std::pow(rlen[1], 3.0) * (n3 - a3);

    const double change1 = std::fabs(n1 - n1_before);
    const double change3 = std::fabs(n3 - n3_before);
    if (std::isnan(change1) || std::isnan(change3)) break;
    if (change3 < kTolerance && change1 < kTolerance) break;
  }

  // Elements from the first and third positions, still equatorial.
  const double q = dot(r[0], r[2]) / (rlen[0] * rlen[0]);
  const Vector3 w = {r[2][0] - q * r[0][0], r[2][1] - q * r[0][1], r[2][2] - q * r[0][2]};
  const double wlen = norm(w);
  const double S = wlen / rlen[2];
  const double C = q * rlen[0] / rlen[2];
  const double dnu = std::atan2(wlen, q * rlen[0]);

  const double root_p = rlen[0] * rlen[2] * eta[1] * S / tau2;
  const double p = root_p * root_p;
  const double c1 = p / rlen[0] - 1;
  const double c3 = p / rlen[2] - 1;
  const double nu1 = std::atan2(C - c3 / c1, S);
  const double nu3 = nu1 + dnu;
  const double es = c1 / std::cos(nu1);
  if (std::fabs(es) > 1) {
    status.not_elliptic = true;
    if (out) *out << kNotElliptic << '\n';
  }
  const double a = p / (1 - es * es);

  const double M1 = orbit_detail::mean_anomaly(nu1, es);
  const double M3 = orbit_detail::mean_anomaly(nu3, es);
  const double n = (M3 - M1) / (T[2] - T[0]);
  double M = M1 + n * (epoch - t[0]);

  // Orientation: P toward perihelion, Q 90 degrees ahead, equatorial.
  const double cn = std::cos(nu1);
  const double sn = std::sin(nu1);
  Vector3 P, Q;
  for (std::size_t c = 0; c < 3; ++c) {
    const double u_hat = r[0][c] / rlen[0];
    const double w_hat = w[c] / wlen;
    P[c] = cn * u_hat - sn * w_hat;
    Q[c] = cn * w_hat + sn * u_hat;
  }
  const double ce = std::cos(kObliquityOrbits);
  const double se = std::sin(kObliquityOrbits);
  const double Pz = P[2] * ce - P[1] * se;  // ecliptic z components
  const double Qz = Q[2] * ce - Q[1] * se;
  double peri = reduce_turn(std::atan2(Pz, Qz));
  const double cw = std::cos(peri);
  const double sw = std::sin(peri);
  const double node = reduce_turn(std::atan2(P[1] * cw - Q[1] * sw, ce * (P[0] * cw - Q[0] * sw)));
  const double i = std::atan(-std::sin(node) * Pz / (sw * (P[0] * sw + Q[0] * cw)));
  if (es < 0) {
    peri = reduce_turn(peri + kPi);
    M = reduce_turn(M + kPi);
  }
  result.elements = {a, std::fabs(es), i, peri, node, M};
  result.passes = passes;
  return result;
}

}  // namespace

void E3(std::span<const double, 3> times, std::span<const double, 3> right_ascension,
        std::span<const double, 3> declination, std::span<const double, 3> sun_x,
        std::span<const double, 3> sun_y, std::span<const double, 3> sun_z,
        ElementSet& elements, std::ostream& out) {
  elements = gauss_method(times, right_ascension, declination, sun_x, sun_y, sun_z,
                          observing_site.epoch, &out)
                 .elements;
}

PreliminaryOrbit orbit_from_three_observations(std::span<const double, 3> times,
                                               std::span<const double, 3> right_ascension,
                                               std::span<const double, 3> declination,
                                               std::span<const Vector3, 3> sun, double epoch) {
  const std::array<double, 3> x = {sun[0][0], sun[1][0], sun[2][0]};
  const std::array<double, 3> y = {sun[0][1], sun[1][1], sun[2][1]};
  const std::array<double, 3> z = {sun[0][2], sun[1][2], sun[2][2]};
  return gauss_method(times, right_ascension, declination, x, y, z, epoch, nullptr);
}

}  // namespace astro
