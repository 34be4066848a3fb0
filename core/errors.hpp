// SPDX-License-Identifier: MIT
// The library's range error and the 32-bit truncation that raises it.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace astro {

// Raised when a value leaves the range that the 32-bit truncations of the calendar and
// angle routines can carry (an instant millions of years away, NaN, infinity), or when an
// orbit routine is given a set it cannot place (an eccentricity of 1 or more).
class RangeError : public std::range_error {
 public:
  using std::range_error::range_error;
};

// INT: truncation toward zero through a 32-bit signed integer.
//   x        any double; accepted when |x| < 2147483648
//   routine  the caller's name, for the message
//   returns  x truncated toward zero, within +-2147483647
// Throws RangeError naming the routine and the value for NaN, infinities and anything
// larger; an out-of-range double is never cast.
inline std::int32_t int32_trunc(double x, const char* routine);

// The failure of int32_trunc: throws the RangeError that names the routine and the value.
[[noreturn]] void throw_int32_range(double x, const char* routine);

inline std::int32_t int32_trunc(double x, const char* routine) {
  // The negated test lets NaN fail it too.
  if (!(std::fabs(x) < 2147483648.0)) throw_int32_range(x, routine);
  return static_cast<std::int32_t>(x);
}

}  // namespace astro
