// SPDX-License-Identifier: MIT
// Small numeric helpers shared by the orbit routines (not part of the public interface).
#pragma once

#include <cmath>
#include <limits>

#include "timeutil/timeutil.hpp"

namespace astro::orbit_detail {

// NULA2PI for values that may have left the finite range: NaN and infinities give NaN (an
// infinity never reaches NULA2PI's truncation). Finite values behave as in NULA2PI, which
// raises RangeError beyond about 1.35e10 rad.
inline double reduce_turn(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  return NULA2PI(x);
}

}  // namespace astro::orbit_detail
