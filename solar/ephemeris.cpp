// SPDX-License-Identifier: MIT
#include "solar/ephemeris.hpp"

#include <cmath>
#include <sstream>

#include "solar/kepler.hpp"
#include "solar/rotation.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

[[noreturn]] void throw_not_elliptic(double e) {
  std::ostringstream msg;
  msg.precision(17);
  msg << "EPH: eccentricity " << e << " is not that of an ellipse";
  throw RangeError(msg.str());
}

}  // namespace

void EPH(const ElementSet& set, Vector3& position) {
  const double a = set[element::a];
  const double e = set[element::e];
  if (!(e < 1)) throw_not_elliptic(e);

  const double E = KEPLER(set[element::M], e);
  Vector3 w = {(std::cos(E) - e) * a, std::sin(E) * std::sqrt(1 - e * e) * a, 0.0};
  const double minus_peri = -set[element::peri];
  const double minus_i = -set[element::i];
  const double minus_node = -set[element::node];
  ROTAT3(w, position, minus_peri);
  ROTAT1(position, w, minus_i);
  ROTAT3(w, position, minus_node);
}

}  // namespace astro
