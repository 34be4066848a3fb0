// SPDX-License-Identifier: MIT
// Small numeric helpers shared by the orbit routines (not part of the public interface).
#pragma once

#include <algorithm>
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

// Arc sine of an argument clamped to [-1, 1] (rounding can push a sine just past 1); NaN
// stays NaN.
inline double asin_clamped(double x) {
  return std::asin(std::isnan(x) ? x : std::clamp(x, -1.0, 1.0));
}

}  // namespace astro::orbit_detail
