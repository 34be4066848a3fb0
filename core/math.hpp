// SPDX-License-Identifier: MIT
// Small numeric helpers shared by the subsystems.
#pragma once

#include <algorithm>
#include <cmath>

namespace astro {

// Arc sine of x clamped to [-1, 1] first: rounding can push a ratio such as z / r just past
// 1. Radians, [-pi/2, pi/2]; NaN gives NaN.
inline double asin_clamped(double x) { return std::asin(std::clamp(x, -1.0, 1.0)); }

}  // namespace astro
