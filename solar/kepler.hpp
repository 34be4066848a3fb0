// SPDX-License-Identifier: MIT
// Kepler's equation M = E - e sin E: three solvers for E and the forward evaluation.
//
// Domain of all four: finite arguments, 0 <= e < 1. M is never reduced: mean anomalies of
// hundreds of radians are normal input, and E comes back in the same turn (|E - M| <= e).
// Each loop stops when a pass changes the iterate by less than 1e-13, when the new iterate
// (stored as a double) repeats the one of the pass before or the pass before that (beyond
// 512 rad neighbouring doubles are farther apart than 1e-13, and a fixed-point iteration can
// alternate between two of them), or when the change is NaN; a bound on the passes, far
// beyond what any input in the domain needs, ends it otherwise with the last iterate.
// A non-finite argument gives NaN without iterating.
#pragma once

namespace astro {

// KEPLER: E by fixed-point iteration E = M + e sin E, starting from M + e sin M.
//   M  mean anomaly, radians, any size;  e  eccentricity, 0 <= e < 1
//   returns E, radians. The change is formed in extended precision before the new iterate
//   is stored. At most 1,000,000 passes (e = 0.9 needs a few dozen).
double KEPLER(double M, double e);

// WEGSTEIN: E by Wegstein's acceleration of the same fixed-point iteration (the secant method
// on x - g(x)), starting from x0 = M + e and x1 = g(x0).
//   returns the newest iterate as soon as its residual x - g(x), or the denominator
//   (x0 - g0) / (x1 - g1) - 1, is exactly zero (always so for e = 0). At most 1,000 passes.
double WEGSTEIN(double M, double e);

// EKEPL1: E by Halley's method on the increment x = E - M, f(x) = x - e sin(M + x).
//   returns M + x. Exact M for e = 0. At most 1,000 passes.
double EKEPL1(double M, double e);

// EMKEPL: the mean anomaly M = (1 - e) sin E + (E - sin E), the second part summed by its
// power series so that nothing cancels for small E and e near 1.
//   E  eccentric anomaly, radians; fully accurate (within 1e-13 of E - e sin E) for |E| up
//      to about 8. Beyond, the series' terms grow to about exp|E| / sqrt(2 pi |E|) and so
//      does their rounding: measured up to 1e-12 at |E| = 10.5, 1e-8 at 20, 2e-4 near 30.
//   returns M, radians; the last term, below 1e-13, is included. At most 1,000 terms.
double EMKEPL(double E, double e);

}  // namespace astro
