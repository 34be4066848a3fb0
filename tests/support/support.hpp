// SPDX-License-Identifier: MIT
// What many tests need: units for tolerances, angles compared modulo a turn, a stream that
// fails as a broken device does, and the repository's data files.
#pragma once

#include <cmath>
#include <stdexcept>
#include <streambuf>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>

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

// Hands out its bytes, then fails as a broken device does: the reading stream sets badbit.
class FailingBuffer : public std::streambuf {
 public:
  explicit FailingBuffer(std::string bytes) : bytes_(std::move(bytes)) {
    setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
  }

 protected:
  int_type underflow() override { throw std::runtime_error("device failure"); }

 private:
  std::string bytes_;
};

// The path of a file of the repository's data/ folder ("mpc/eros.obs",
// "catalogue/elements.txt").
inline std::string data_file(std::string_view relative) {
  return std::string(ASTRO_SOURCE_DIR) + "/data/" + std::string(relative);
}

}  // namespace astro::support
