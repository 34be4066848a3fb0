// SPDX-License-Identifier: MIT
// Kepler's equation: the three solvers against reference roots, against each other and
// against EMKEPL, for large mean anomalies and for non-finite input.
#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "solar/kepler.hpp"

namespace astro {
namespace {

using Solver = double (*)(double, double);

// A root found to 1e-13 rad, as the solvers stop, plus rounding.
constexpr double kRootTol = 5e-13;
// Full circle at double precision, for shifting mean anomalies by whole turns.
constexpr double kTurn = 6.283185307179586;

struct RootCase {
  const char* label;
  Solver solve;
  double M, e, want;
};

// Roots of E - e sin E = M found with mpmath at 40 digits: 1.4987011335178483 and
// 1.1035177203030870 (the 12-decimal values 1.498701133518 and 1.103517720303 of the
// standard worked examples).
const RootCase kRoots[] = {
    {"KEPLER 1, 0.5", KEPLER, 1.0, 0.5, 1.4987011335178483},
    {"WEGSTEIN 1, 0.5", WEGSTEIN, 1.0, 0.5, 1.4987011335178483},
    {"EKEPL1 1, 0.5", EKEPL1, 1.0, 0.5, 1.4987011335178483},
    {"KEPLER 0.3, 0.9", KEPLER, 0.3, 0.9, 1.1035177203030870},
    {"WEGSTEIN 0.3, 0.9", WEGSTEIN, 0.3, 0.9, 1.1035177203030870},
    {"EKEPL1 0.3, 0.9", EKEPL1, 0.3, 0.9, 1.1035177203030870},
};

TEST(Kepler, ReferenceRoots) {
  for (const RootCase& c : kRoots) {
    SCOPED_TRACE(c.label);
    EXPECT_NEAR(c.solve(c.M, c.e), c.want, kRootTol);
  }
}

struct Named {
  const char* label;
  Solver solve;
};
const Named kSolvers[] = {{"KEPLER", KEPLER}, {"WEGSTEIN", WEGSTEIN}, {"EKEPL1", EKEPL1}};

TEST(Kepler, ZeroMeanAnomalyAndCircularOrbitAreExact) {
  // KEPLER and EKEPL1: M = 0 gives 0 and e = 0 gives M, exactly (the first change is zero).
  for (const Named& s : {kSolvers[0], kSolvers[2]}) {
    SCOPED_TRACE(s.label);
    for (double e : {0.0, 0.3, 0.99}) EXPECT_EQ(s.solve(0.0, e), 0.0) << "e " << e;
    for (double M : {0.7, -2.5, 713.25}) EXPECT_EQ(s.solve(M, 0.0), M) << "M " << M;
  }
  // WEGSTEIN: for e = 0 its first iterate is already an exact root and is returned.
  for (double M : {0.7, -2.5, 713.25}) EXPECT_EQ(WEGSTEIN(M, 0.0), M) << "M " << M;
  EXPECT_NEAR(WEGSTEIN(0.0, 0.6), 0.0, kRootTol);
}

TEST(Kepler, EmkeplEvaluatesTheMeanAnomaly) {
  // mpmath at 40 digits: 1.498701133518 - 0.5 sin(1.498701133518) = 1.00000000000014622;
  // (1 - 0.99) sin 0.1 + (0.1 - sin 0.1) = 0.0011649175196401302.
  EXPECT_NEAR(EMKEPL(1.498701133518, 0.5), 1.00000000000014622, 1e-14);
  EXPECT_NEAR(EMKEPL(0.1, 0.99), 0.0011649175196401302, 1e-16);
  // e = 0 gives sin E + (E - sin E), that is E.
  for (double E : {0.0, 0.4, -3.0}) EXPECT_NEAR(EMKEPL(E, 0.0), E, 1e-15) << "E " << E;
}

// The range of full accuracy: for |E| up to 8 the series stays within 1e-13 rad of
// E - e sin E (measured at most 7.8e-14 on this grid). Beyond, its terms E^n / n! reach about
// exp|E| / sqrt(2 pi |E|) and their rounding grows with them: 1e-12 near |E| = 10.5, 1e-8
// near 20, 2e-4 near 30 (measured against quadruple precision). For |E| >= 1 the
// direct form loses nothing worth counting (E - e sin E >= 0.15), so it is the reference.
TEST(Kepler, EmkeplIsFullyAccurateUpToEightRadians) {
  for (double e : {0.0, 0.5, 0.9, 0.99}) {
    for (double E = 1.0; E <= 8.0; E += 0.01) {
      for (double x : {E, -E}) {
        SCOPED_TRACE(testing::Message() << "E " << x << " e " << e);
        EXPECT_NEAR(EMKEPL(x, e), x - e * std::sin(x), 1e-13);
      }
    }
  }
}

TEST(Kepler, SolversAgreeAndEmkeplMapsBack) {
  // Agreement is limited by KEPLER's stop: a last change of 1e-13 leaves an error of up to
  // 1e-13 / (1 - e cos E), 1e-12 at e = 0.9. EMKEPL's series is summed over a little more
  // than one turn either way (its terms grow with |E|, and with them the rounding).
  for (double e : {0.0, 0.0167, 0.2, 0.5, 0.75, 0.9}) {
    for (double M = -7.0; M <= 7.0; M += 0.137) {
      SCOPED_TRACE(testing::Message() << "M " << M << " e " << e);
      const double reference = EKEPL1(M, e);
      EXPECT_NEAR(KEPLER(M, e), reference, 2e-12);
      EXPECT_NEAR(WEGSTEIN(M, e), reference, 2e-12);
      EXPECT_LE(std::fabs(reference - M), e + 1e-15);  // E in the same turn as M
      EXPECT_NEAR(EMKEPL(reference, e), M, 1e-12);
    }
  }
}

TEST(Kepler, LargeMeanAnomalyGivesTheReducedRootShifted) {
  // M = M0 + k turns; M - k turns is exact (Sterbenz), so both solutions see the same M.
  // The shifted one can only be as exact as the spacing of doubles near M (1.1e-13 at 629).
  for (const Named& s : kSolvers) {
    for (int turns : {50, 100, -80}) {
      for (double e : {0.0167, 0.5}) {
        SCOPED_TRACE(testing::Message() << s.label << " turns " << turns << " e " << e);
        const double shift = turns * kTurn;
        const double M = 1.0 + shift;
        const double reduced = M - shift;
        const double spacing = std::nextafter(std::fabs(M), INFINITY) - std::fabs(M);
        EXPECT_NEAR(s.solve(M, e) - shift, s.solve(reduced, e), 2 * spacing);
      }
    }
  }
}

TEST(Kepler, EarthMeanAnomaliesBeyond512RadiansEnd) {
  // From 512 rad on, adjacent doubles are farther apart than the 1e-13 stop, and for about
  // one value in thirteen here the fixed-point iteration alternates between two neighbouring
  // doubles. Without the repeat test each of those runs into the million-pass bound (tens
  // of milliseconds each, tens of seconds in all); with it the sweep takes milliseconds.
  const double e = 0.0167;
  const auto start = std::chrono::steady_clock::now();
  for (int j = 0; j < 20000; ++j) {
    const double M = 512 + j * 0.0744 + 0.000123 * j;
    const double E = KEPLER(M, e);
    const double spacing = std::nextafter(E, INFINITY) - E;
    const long double residual =
        static_cast<long double>(E) - (static_cast<long double>(M) + e * std::sin(E));
    ASSERT_LE(std::fabs(residual), 2 * spacing) << "M " << M;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
}

// KEPLER decides most passes in double arithmetic and falls back to long double only where
// that could differ. Against the plain long double iteration it must give the same double
// bit for bit: mean anomalies from tiny to 1e8 rad (beyond 512 rad the iterates cycle),
// near powers of two (where the last place changes), and eccentricities from 0 to near 1.
double kepler_in_long_double(double M, double e) {
  double E = M + e * std::sin(M);
  double last = E, before = std::numeric_limits<double>::quiet_NaN();
  for (long pass = 0; pass < 1000000; ++pass) {
    const long double next = static_cast<long double>(M) + static_cast<long double>(e * std::sin(E));
    const long double change = std::fabs(next - static_cast<long double>(E));
    E = static_cast<double>(next);
    const bool repeated = E == last || E == before;
    before = last;
    last = E;
    if (!(change >= 1e-13) || repeated) break;
  }
  return E;
}

TEST(Kepler, SameIteratesAsInLongDouble) {
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int n = 0; n < 300000; ++n) {
    double M = 0;
    switch (n % 4) {
      case 0: M = (unit(random) - 0.3) * 1000; break;
      case 1: M = std::ldexp(unit(random) - 0.5, static_cast<int>(unit(random) * 50) - 20); break;
      case 2: M = std::ldexp(1.0 + (unit(random) - 0.5) * 1e-12, static_cast<int>(unit(random) * 20)); break;
      default: M = (unit(random) - 0.5) * 1e8; break;
    }
    const double e = n % 3 == 0 ? 0.0167 + (unit(random) - 0.5) * 1e-3 : unit(random) * 0.95;
    const double want = kepler_in_long_double(M, e);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(KEPLER(M, e)), std::bit_cast<std::uint64_t>(want))
        << "M = " << M << ", e = " << e;
  }
}

TEST(Kepler, NonFiniteArgumentsGiveNaN) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double x, e;
  } kArgs[] = {{nan, 0.5}, {1.0, nan}, {inf, 0.5}, {-inf, 0.5}, {1.0, inf}};
  for (const auto& a : kArgs) {
    SCOPED_TRACE(testing::Message() << "x " << a.x << " e " << a.e);
    for (const Named& s : kSolvers) EXPECT_TRUE(std::isnan(s.solve(a.x, a.e))) << s.label;
    EXPECT_TRUE(std::isnan(EMKEPL(a.x, a.e))) << "EMKEPL";
  }
}

}  // namespace
}  // namespace astro
