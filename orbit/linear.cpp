// SPDX-License-Identifier: MIT
#include "orbit/linear.hpp"

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

namespace astro {

namespace {

// A pivot whose magnitude is not above this is taken as zero (absolute, exactly 1e-38).
constexpr double kPivotThreshold = 1e-38;

void check_shape(std::size_t matrix_size, std::size_t rhs_size, std::int32_t n, std::int32_t ld) {
  if (ld < n) {
    throw std::invalid_argument("GEM: stride " + std::to_string(ld) + " smaller than n = " +
                                std::to_string(n));
  }
  const std::int64_t needed = std::int64_t{n - 1} * ld + n;
  if (static_cast<std::uint64_t>(needed) > matrix_size) {
    throw std::invalid_argument("GEM: matrix of " + std::to_string(matrix_size) +
                                " values, " + std::to_string(needed) + " needed");
  }
  if (static_cast<std::size_t>(n) > rhs_size) {
    throw std::invalid_argument("GEM: right-hand side of " + std::to_string(rhs_size) +
                                " values, " + std::to_string(n) + " needed");
  }
}

}  // namespace

void GEM(std::span<double> matrix, std::span<double> rhs, std::int32_t n, std::int32_t ld,
         std::int32_t& flag) {
  if (n <= 0) {
    flag = 0;
    return;
  }
  check_shape(matrix.size(), rhs.size(), n, ld);
  flag = 0;

  const std::size_t size = static_cast<std::size_t>(n);
  const std::size_t stride = static_cast<std::size_t>(ld);
  // M(r, c) and b(r) with r, c counted from 0.
  const auto M = [&](std::size_t r, std::size_t c) -> double& { return matrix[r * stride + c]; };
  const auto b = [&](std::size_t r) -> double& { return rhs[r]; };

  for (std::size_t k = 0; k + 1 < size; ++k) {
    std::size_t p = k;
    for (std::size_t i = k + 1; i < size; ++i) {
      if (std::fabs(M(i, k)) > std::fabs(M(p, k))) p = i;
    }
    if (p != k) {
      std::swap(b(k), b(p));
      for (std::size_t j = k; j < size; ++j) std::swap(M(k, j), M(p, j));
    }
    for (std::size_t i = k + 1; i < size; ++i) {
      if (std::fabs(M(k, k)) <= kPivotThreshold) {
        flag = 1;
        return;
      }
      const double f = M(i, k) / M(k, k);
      b(i) = b(i) - b(k) * f;
      for (std::size_t j = k; j < size; ++j) M(i, j) = M(i, j) - M(k, j) * f;
    }
  }

  for (std::size_t i = size; i-- > 0;) {
    for (std::size_t j = i + 1; j < size; ++j) b(i) = b(i) - M(i, j) * b(j);
    if (std::fabs(M(i, i)) <= kPivotThreshold) {
      flag = 1;
      return;
    }
    b(i) = b(i) / M(i, i);
  }
}

}  // namespace astro
