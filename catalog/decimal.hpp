// SPDX-License-Identifier: MIT
// Short decimal numbers by integer arithmetic, exact to the last bit (not part of the public
// headers): the fast way of the fixed-column readers for the fields that files hold.
#pragma once

#include <cstddef>
#include <cstdint>

namespace astro::detail {

// The powers of ten that a double holds exactly, 1e0 to 1e22.
inline constexpr double kExactTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr std::size_t kExactDigits = 15;  // an integer of 15 digits is below 2^53

// m / 10^decimals for an integer m of at most 15 digits and decimals up to 22: both are
// exact doubles, so the one division rounds the exact quotient once, to the double nearest
// the decimal value, which is what a correctly rounding parser (std::from_chars) gives.
inline double scaled_decimal(std::int64_t m, std::size_t decimals) {
  return static_cast<double>(m) / kExactTens[decimals];
}

}  // namespace astro::detail
