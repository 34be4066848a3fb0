// SPDX-License-Identifier: MIT
// Sign, maximum, angle reduction, hours split and joined.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/constants.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr double kRadTol = 1e-15;

TEST(SGN, ThreeValued) {
  EXPECT_EQ(SGN(2.5), 1.0);
  EXPECT_EQ(SGN(-1e-300), -1.0);
  EXPECT_EQ(SGN(0.0), 0.0);
  EXPECT_EQ(SGN(-0.0), 0.0);
}

TEST(MAX, LaterArgumentWinsTies) {
  struct Case {
    double a, b, c;
    std::int32_t want;
  };
  const Case cases[] = {{3, 2, 1, 1}, {1, 3, 2, 2}, {1, 2, 3, 3}, {5, 5, 1, 2},
                        {5, 1, 5, 3}, {1, 5, 5, 3}, {4, 4, 4, 3}, {-1, -2, -3, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << ',' << c.b << ',' << c.c);
    EXPECT_EQ(MAX(c.a, c.b, c.c), c.want);
  }
}

// Boundary table: zero, just below and at one turn, negative, many turns.
TEST(NULA2PI, ReducesToOneTurn) {
  struct Case {
    const char* label;
    double x, want;
  };
  const Case cases[] = {
      {"zero", 0.0, 0.0},
      {"small negative", -0.1, 6.183185307},
      {"past one turn", 7.0, 0.716814693},
      {"the turn itself", kTwoPi, 0.0},
      {"tiny negative rounds to the turn", -1e-17, kTwoPi},
      {"ten turns back", -10 * kTwoPi - 0.5, kTwoPi - 0.5},
      {"a thousand turns", 1000 * kTwoPi + 1.0, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_NEAR(NULA2PI(c.x), c.want, 1e-12);
  }
  EXPECT_EQ(NULA2PI(-1e-17), kTwoPi);
  EXPECT_TRUE(std::isnan(NULA2PI(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_THROW(NULA2PI(1e11), RangeError);
}

TEST(HHMS, SplitsWithoutRoundingTheSeconds) {
  struct Case {
    double h, hh, mm, ss, tol;
  };
  const Case cases[] = {
      {12.5, 12, 30, 0, 1e-9},
      {23.9999999, 23, 59, 59.99964, 1e-6},
      {-1.5, -1, -30, 0, 1e-9},
      {0.0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.h);
    double hh = -7, mm = -7, ss = -7;
    HHMS(c.h, hh, mm, ss);
    EXPECT_EQ(hh, c.hh);
    EXPECT_EQ(mm, c.mm);
    EXPECT_NEAR(ss, c.ss, c.tol);
  }
}

TEST(HMSH, AddsThePartsAsTheyStand) {
  EXPECT_NEAR(HMSH(23, 56, 4.0905), 23.934469583333, 1e-11);
  EXPECT_EQ(HMSH(-1, 30, 0), -0.5);
  double hh = 0, mm = 0, ss = 0;
  HHMS(HMSH(23, 56, 4.0905), hh, mm, ss);
  EXPECT_EQ(hh, 23);
  EXPECT_EQ(mm, 56);
  EXPECT_NEAR(ss, 4.0905, 1e-9);
}

}  // namespace
}  // namespace astro
