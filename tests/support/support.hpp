// SPDX-License-Identifier: MIT
// What many tests need: units for tolerances, angles compared modulo a turn, and the
// repository's data files.
#pragma once

#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "core/constants.hpp"

namespace astro::support {

// Units of tolerances, in the library's own units: radians, astronomical units, days.
inline constexpr double kArcsec = std::numbers::pi / 648000;  // one arcsecond, radians
inline constexpr double kArcmin = 60 * kArcsec;
inline constexpr double kDegree = std::numbers::pi / 180;
inline constexpr double kAu = 1.0;          // one astronomical unit
inline constexpr double kMetre = 1.0 / 149597870700.0;  // one metre, astronomical units
inline constexpr double kSecond = 1.0 / 86400;          // one second of time, days
inline constexpr double kMinute = 60 * kSecond;

// x - y reduced to about [-pi, pi]: the difference of two angles whatever turn each is in,
// radians. The turn is the program's 6.283185307, the one NULA2PI reduces by, so an angle
// and its reduction compare equal to rounding.
inline double angle_difference(double x, double y) { return std::remainder(x - y, kTwoPi); }

// The path of a file of the repository's data/ folder ("mpc/eros.obs",
// "catalogue/elements.txt").
inline std::string data_file(std::string_view relative) {
  return std::string(ASTRO_SOURCE_DIR) + "/data/" + std::string(relative);
}

}  // namespace astro::support
