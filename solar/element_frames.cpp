// SPDX-License-Identifier: MIT
#include "solar/element_frames.hpp"

#include <cmath>

#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Obliquity between the two frames: 0.4090996f widened to double.
constexpr double kObliquity = 0.40909960865974426;

// sin i' from the new node: the quotient y / sin(node') while the node lies off the
// equinox line, else sqrt(x^2 + y^2). A node of exactly 0 in y with x < 0 makes node' the
// double nearest pi, whose sine is not zero but 1.2e-16, so y = 0 is tested as well.
double sine_of_inclination(double y, double x, double node) {
  const double sin_node = std::sin(node);
  if (y == 0 || sin_node == 0) return std::sqrt(x * x + y * y);
  return y / sin_node;
}

// Turns i, omega and Omega of a set about the equinox line by the obliquity whose sine is
// se: +sin(eps0) takes the ecliptic to the equator, -sin(eps0) the equator to the ecliptic.
// Negating se flips the signs of the products it enters exactly, so each direction gets its
// own formulas bit for bit.
void turn_about_equinox(ElementSet& set, double se) {
  const double si = std::sin(set[element::i]);
  const double ci = std::cos(set[element::i]);
  const double sn = std::sin(set[element::node]);
  const double cn = std::cos(set[element::node]);
  const double ce = std::cos(kObliquity);

  const double y = si * sn;
  const double x = si * ce * cn + ci * se;
  const double node = std::atan2(y, x);
  const double s = sine_of_inclination(y, x, node);
  const double c = ci * ce - se * si * cn;
  const double delta = std::atan2(se * sn, si * ce + se * ci * cn);
  set[element::node] = node;
  set[element::i] = std::atan2(s, c);
  set[element::peri] = NULA2PI(delta + set[element::peri]);
}

}  // namespace

void ECLEQU(ElementSet& set) { turn_about_equinox(set, std::sin(kObliquity)); }

void EQUECL(ElementSet& set) { turn_about_equinox(set, -std::sin(kObliquity)); }

}  // namespace astro
