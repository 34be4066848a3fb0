// SPDX-License-Identifier: MIT
#include "solar/element_frames.hpp"

#include <cmath>

#include "core/constants.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Obliquity between the two frames: 0.4090996f widened to double.

// Turns i, omega and Omega of a set about the equinox line by the obliquity whose sine is
// se: +sin(eps0) takes the ecliptic to the equator, -sin(eps0) the equator to the ecliptic.
// Negating se flips the signs of the products it enters exactly, so each direction gets its
// own formulas bit for bit.
void turn_about_equinox(ElementSet& set, double se) {
  const double si = std::sin(set[element::i]);
  const double ci = std::cos(set[element::i]);
  const double sn = std::sin(set[element::node]);
  const double cn = std::cos(set[element::node]);
  const double ce = std::cos(kObliquityElementFrames);

  const double y = si * sn;
  const double x = si * ce * cn + ci * se;
  const double node = std::atan2(y, x);
  // sin i' = sqrt(x^2 + y^2), the length of the orbit pole's projection on the new
  // reference plane. The quotient y / sin(node') equals it where it is defined, but loses
  // every digit as node' nears pi (the sine of the double nearest pi is 1.2e-16).
  const double s = std::sqrt(x * x + y * y);
  const double c = ci * ce - se * si * cn;
  const double delta = std::atan2(se * sn, si * ce + se * ci * cn);
  set[element::node] = node;
  set[element::i] = std::atan2(s, c);
  set[element::peri] = NULA2PI(delta + set[element::peri]);
}

}  // namespace

void ECLEQU(ElementSet& set) { turn_about_equinox(set, std::sin(kObliquityElementFrames)); }

void EQUECL(ElementSet& set) { turn_about_equinox(set, -std::sin(kObliquityElementFrames)); }

}  // namespace astro
