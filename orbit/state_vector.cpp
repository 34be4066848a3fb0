// SPDX-License-Identifier: MIT
#include "orbit/state_vector.hpp"

#include <cmath>

#include "orbit/angles.hpp"
#include "solar/kepler.hpp"

namespace astro {

namespace {

// Gravitational constant of PV: sqrt of the single-precision value of 0.01720209895^2.
constexpr double kGaussPV = 0.017202098902128322;
// Its square as E1 uses it, to fifteen digits.
constexpr double kGaussSquaredE1 = 0.000295912206638604;

}  // namespace

void PV(const ElementSet& elements, Vector3& position, Vector3& velocity) {
  const double a = elements[element::a];
  const double e = elements[element::e];
  const double ci = std::cos(elements[element::i]);
  const double si = std::sin(elements[element::i]);
  const double cw = std::cos(elements[element::peri]);
  const double sw = std::sin(elements[element::peri]);
  const double cn = std::cos(elements[element::node]);
  const double sn = std::sin(elements[element::node]);

  const double b = a * std::sqrt(1 - e * e);
  // P toward perihelion, Q 90 degrees ahead of it in the direction of motion.
  const Vector3 P = {cw * cn - sw * sn * ci, cw * sn + sw * cn * ci, sw * si};
  const Vector3 Q = {-sw * cn - cw * sn * ci, cw * cn * ci - sw * sn, cw * si};

  const double E = EKEPL1(elements[element::M], e);
  const double cE = std::cos(E);
  const double sE = std::sin(E);
  for (int c = 0; c < 3; ++c) position[c] = (cE - e) * a * P[c] + sE * b * Q[c];
  const double r = std::sqrt(position[0] * position[0] + position[1] * position[1] +
                             position[2] * position[2]);
  const double scale = kGaussPV / (std::sqrt(a) * r);
  for (int c = 0; c < 3; ++c) velocity[c] = scale * (cE * b * Q[c] - sE * a * P[c]);
}

void E1(const Vector3& position, const Vector3& velocity, ElementSet& elements, double mass) {
  using orbit_detail::reduce_turn;
  const double x = position[0], y = position[1], z = position[2];
  const double vx = velocity[0], vy = velocity[1], vz = velocity[2];

  const double mu = kGaussSquaredE1 + mass;
  const double v2 = vx * vx + vy * vy + vz * vz;
  const double r = std::sqrt(x * x + y * y + z * z);
  const double a = 1 / (2 / r - v2 / mu);

  // Angular momentum; the second component with reversed sign.
  const double hx = y * vz - z * vy;
  const double hy = x * vz - z * vx;
  const double hz = x * vy - y * vx;
  const double p = (hx * hx + hy * hy + hz * hz) / mu;
  const double e = std::sqrt(1 - p / a);
  const double i = std::atan(std::sqrt(hx * hx + hy * hy) / hz);
  const double node = reduce_turn(std::atan2(hx, hy));

  const double e_sin_nu = std::sqrt(p / mu) * (x * vx + y * vy + z * vz) / r;
  const double e_cos_nu = p / r - 1;
  const double nu = reduce_turn(std::atan2(e_sin_nu, e_cos_nu));
  const double E = 2 * std::atan(std::tan(nu / 2) * std::sqrt((1 - e) / (1 + e)));
  const double M = reduce_turn(E - e * std::sin(E));

  const double u = std::atan2(z / std::sin(i), x * std::cos(node) + y * std::sin(node));
  const double peri = reduce_turn(u - nu);

  elements = {a, e, i, peri, node, M};
}

}  // namespace astro
