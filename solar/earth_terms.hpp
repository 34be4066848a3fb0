// SPDX-License-Identifier: MIT
// The periodic terms of the Earth's elements, as data (not part of the public interface).
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

namespace astro::solar_detail {

// One periodic term of the Earth's elements: the argument as integer multiples of the mean
// longitudes of Venus, the Earth, Mars and Jupiter, and the amplitudes (units of 1e-7 au
// or radians) of its sine and cosine in a, lambda, k and h. All are integers, held as the
// doubles they are multiplied as.
struct PerturbationTerm {
  double venus, earth, mars, jupiter;
  double a_sin, a_cos, lambda_sin, lambda_cos, k_sin, k_cos, h_sin, h_cos;

  // The multiples in the order Venus, Earth, Mars, Jupiter; the amplitudes of the sine and of
  // the cosine in the order a, lambda, k, h.
  constexpr std::array<double, 4> multiples() const { return {venus, earth, mars, jupiter}; }
  constexpr std::array<double, 4> sine_amplitudes() const {
    return {a_sin, lambda_sin, k_sin, h_sin};
  }
  constexpr std::array<double, 4> cosine_amplitudes() const {
    return {a_cos, lambda_cos, k_cos, h_cos};
  }
};

// Every argument is written with its longitudes in the order Venus, Earth, Mars, Jupiter,
// so summing the products in that order reproduces it term by term.
inline constexpr PerturbationTerm kEarthTerms[] = {
    {0, 4, -8, 3, 0, 0, -97, 322, 0, 0, 0, 0},
    {2, -3, 0, 0, 15, 0, -2, 109, 0, -199, 199, 0},
    {0, 1, 0, -2, 6, 3, -13, 20, 0, 186, -186, 0},
    {0, 0, 0, 1, 0, 0, -125, 17, -3, -150, -151, 1},
    {0, 2, 0, -2, 0, 112, -206, 0, 0, 0, 0, 0},
    {1, -1, 0, 0, 0, 76, 166, 0, -2, 0, 0, 0},
    {1, -2, 0, 0, -3, 1, 3, -1, 0, 82, -82, 0},
    {2, -2, 0, 0, 0, -41, 127, 0, 0, 0, 0, 0},
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 48, 48, 0},
    {3, -4, 0, 0, 5, 0, 0, 14, 0, -48, 48, 0},
    {0, 1, -2, 0, -3, -3, -65, 56, 1, -44, 45, 0},
    {8, -13, 0, 0, 0, 0, 49, 76, -1, -2, 2, -1},
    {0, 1, 0, -3, 0, 0, -3, 4, -6, 35, -35, -6},
    {3, -3, 0, 0, 0, -25, 60, 0, 0, 0, 0, 0},
    {0, 1, 0, -1, 0, 11, -51, -1, -1, -7, 1, -2},
    {3, -5, 0, 0, -1, -4, -46, 12, -29, -1, 1, -29},
    {0, 0, 0, 2, 0, 0, -4, 1, 22, -16, -17, -22},
};

inline constexpr std::size_t kEarthTermCount = std::size(kEarthTerms);

}  // namespace astro::solar_detail
