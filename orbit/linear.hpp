// SPDX-License-Identifier: MIT
// Square linear systems by Gaussian elimination.
#pragma once

#include <cstdint>
#include <span>

namespace astro {

// GEM: solves the n x n system M x = b in place by Gaussian elimination with partial pivoting
// and back substitution.
//   matrix  coefficients equation by equation: M(r, c), r and c from 1 to n, stands at position
//           (r - 1) * ld + (c - 1). Destroyed: it ends holding the row-exchanged upper triangle,
//           with leftovers below the diagonal. Positions n to ld - 1 of each equation's run are
//           neither read nor written.
//   rhs     b(1) to b(n) in rhs[0..n-1]; replaced by the solution x when flag is 0
//   n       number of equations and unknowns
//   ld      stride between the starts of consecutive equations, ld >= n
//   flag    written: 0 on success, 1 when a pivot of magnitude <= 1e-38 is met
// The pivot search takes the first of equal magnitudes. The threshold 1e-38 is absolute, not
// scaled: a well-conditioned system with coefficients of 1e-30 is solved, one with pivots of
// 1e-39 is refused. On flag 1 the matrix and rhs are left partly transformed. A singular
// system whose rounding leaves a pivot just above the threshold is not detected (huge values,
// flag 0). NaN coefficients give NaN results.
// n <= 0 reads and writes nothing and sets flag 0. Throws std::invalid_argument, before
// anything is written, when ld < n, the matrix holds fewer than (n - 1) * ld + n values or
// rhs fewer than n. Matrix and rhs must not overlap.
void GEM(std::span<double> matrix, std::span<double> rhs, std::int32_t n, std::int32_t ld,
         std::int32_t& flag);

}  // namespace astro
