// SPDX-License-Identifier: MIT
// GEM: pivoting, its tie rule, the absolute pivot threshold, the stride, the shape checks,
// and random systems checked by their residual.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

#include "orbit/linear.hpp"

namespace astro {
namespace {

struct System {
  std::vector<double> matrix;  // equation by equation, stride ld
  std::vector<double> rhs;
  std::int32_t n;
  std::int32_t ld;
};

std::int32_t solve(System& s) {
  std::int32_t flag = -1;
  GEM(s.matrix, s.rhs, s.n, s.ld, flag);
  return flag;
}

// Hand-solved 2x2 and 3x3 systems: the expected solutions and eliminated matrices follow from
// one step of elimination done on paper (every value is exact in binary).
TEST(GEM, ExchangesEquationsWhenTheFirstCoefficientIsZero) {
  // 0x + 2y = 4, 3x + y = 5: equation 2 becomes the pivot; x = 1, y = 2.
  System s{{0, 2, 3, 1}, {4, 5}, 2, 2};
  EXPECT_EQ(solve(s), 0);
  EXPECT_EQ(s.rhs, (std::vector<double>{1, 2}));
  EXPECT_EQ(s.matrix, (std::vector<double>{3, 1, 0, 2}));  // exchanged upper triangle
}

TEST(GEM, FirstOfEqualMagnitudesKeepsThePivot) {
  struct Case {
    const char* label;
    System system;
    std::vector<double> want_first_equation;  // after elimination
    std::vector<double> want_solution;
  };
  const Case kCases[] = {
      // 2x + y = 3, -2x + y = 1: no exchange; x = 0.5, y = 2.
      {"positive first, no exchange", {{2, 1, -2, 1}, {3, 1}, 2, 2}, {2, 1}, {0.5, 2}},
      // -2x + y = 1, 2x + y = 3: the negative one comes first and stays; x = 0.5, y = 2.
      {"negative first, no exchange", {{-2, 1, 2, 1}, {1, 3}, 2, 2}, {-2, 1}, {0.5, 2}},
      // Column (1, -4, 4): equation 2 wins over the later 4 and is exchanged with equation 1.
      // x + y + z = 6, -4x + y = -2, 4x + z = 7: x = 1, y = 2, z = 3.
      {"tie below the diagonal, earlier wins",
       {{1, 1, 1, -4, 1, 0, 4, 0, 1}, {6, -2, 7}, 3, 3},
       {-4, 1, 0},
       {1, 2, 3}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    System s = c.system;
    EXPECT_EQ(solve(s), 0);
    for (std::size_t j = 0; j < c.want_first_equation.size(); ++j) {
      EXPECT_EQ(s.matrix[j], c.want_first_equation[j]);
    }
    for (std::size_t j = 0; j < c.want_solution.size(); ++j) {
      EXPECT_NEAR(s.rhs[j], c.want_solution[j], 4e-15);  // a few units in the last place
    }
  }
}

TEST(GEM, PivotsAtOrBelowTheThresholdSetTheFlag) {
  struct Case {
    const char* label;
    System system;
    std::int32_t want_flag;
    std::vector<double> want_solution;  // checked when the flag is 0
  };
  const Case kCases[] = {
      // Singular: the second pivot becomes exactly 0 and back substitution refuses it.
      {"singular 2x2", {{1, 2, 2, 4}, {3, 6}, 2, 2}, 1, {}},
      // A zero column stops the forward elimination at its first pivot.
      {"zero first column", {{0, 1, 2, 0, 3, 4, 0, 5, 6}, {1, 2, 3}, 3, 3}, 1, {}},
      // The threshold is absolute: coefficients of 1e-30 are fine (x = 1, y = 2)...
      {"coefficients of 1e-30", {{2e-30, 1e-30, 1e-30, 3e-30}, {4e-30, 7e-30}, 2, 2}, 0, {1, 2}},
      // ...and the same well-conditioned system scaled to 1e-39 is refused.
      {"coefficients of 1e-39", {{2e-39, 1e-39, 1e-39, 3e-39}, {4e-39, 7e-39}, 2, 2}, 1, {}},
      // n = 1: a plain division, or the flag.
      {"n = 1", {{4}, {2}, 1, 1}, 0, {0.5}},
      {"n = 1, pivot 1e-38", {{1e-38}, {1}, 1, 1}, 1, {}},
      {"n = 1, pivot zero", {{0}, {1}, 1, 1}, 1, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    System s = c.system;
    EXPECT_EQ(solve(s), c.want_flag);
    for (std::size_t j = 0; j < c.want_solution.size(); ++j) {
      EXPECT_NEAR(s.rhs[j], c.want_solution[j], 1e-15);
    }
  }
}

TEST(GEM, NonPositiveSizeTouchesNothing) {
  for (const std::int32_t n : {0, -1, -2147483647 - 1}) {
    SCOPED_TRACE(n);
    std::vector<double> matrix = {1, 2, 3, 4};
    std::vector<double> rhs = {5, 6};
    std::int32_t flag = 7;
    GEM(matrix, rhs, n, 2, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(matrix, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(rhs, (std::vector<double>{5, 6}));
    GEM({}, {}, n, 0, flag);  // empty arrays are fine too
    EXPECT_EQ(flag, 0);
  }
}

TEST(GEM, StrideLeavesTheSparePositionsAlone) {
  // The exchange system of above with ld = 4: positions 2 and 3 of each run are spare, and the
  // matrix ends after the last coefficient ((n - 1) * ld + n = 6 values).
  constexpr double kSpare = 99.5;
  System s{{0, 2, kSpare, -kSpare, 3, 1}, {4, 5}, 2, 4};
  EXPECT_EQ(solve(s), 0);
  EXPECT_EQ(s.rhs, (std::vector<double>{1, 2}));
  EXPECT_EQ(s.matrix, (std::vector<double>{3, 1, kSpare, -kSpare, 0, 2}));
}

TEST(GEM, RejectsArraysThatCannotHoldTheSystem) {
  struct Case {
    const char* label;
    std::size_t matrix_size, rhs_size;
    std::int32_t n, ld;
  };
  const Case kCases[] = {
      {"stride below n", 9, 3, 3, 2},
      {"matrix one value short", 8, 3, 3, 3},
      {"matrix short for the stride", 11, 3, 3, 5},
      {"right-hand side short", 9, 2, 3, 3},
      {"huge n on small arrays", 4, 2, 2147483647, 2147483647},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    std::vector<double> matrix(c.matrix_size, 1.0);
    std::vector<double> rhs(c.rhs_size, 2.0);
    std::int32_t flag = 7;
    EXPECT_THROW(GEM(matrix, rhs, c.n, c.ld, flag), std::invalid_argument);
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(matrix, std::vector<double>(c.matrix_size, 1.0));
    EXPECT_EQ(rhs, std::vector<double>(c.rhs_size, 2.0));
  }
  // The smallest arrays that fit are accepted: 3 x 3 with stride 5 needs 2 * 5 + 3 = 13 values.
  std::vector<double> matrix(13, 0.0);
  for (int r = 0; r < 3; ++r) matrix[r * 5 + r] = 2.0;
  std::vector<double> rhs = {2, 4, 6};
  std::int32_t flag = 7;
  GEM(matrix, rhs, 3, 5, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(rhs, (std::vector<double>{1, 2, 3}));
}

// Random diagonally dominated systems of every size from 1 to 12, with spare positions in each
// equation's run: the residual |M x - b| of the solution, against the untouched copy, is at the
// level of rounding.
TEST(GEM, RandomWellConditionedSystemsHaveSmallResiduals) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> coefficient(-1.0, 1.0);
  constexpr double kResidual = 1e-13;
  for (std::int32_t n = 1; n <= 12; ++n) {
    for (int trial = 0; trial < 20; ++trial) {
      SCOPED_TRACE(::testing::Message() << "n = " << n << ", trial " << trial);
      const std::int32_t ld = n + trial % 3;
      std::vector<double> matrix(static_cast<std::size_t>((n - 1) * ld + n));
      for (double& m : matrix) m = coefficient(random);
      for (std::int32_t r = 0; r < n; ++r) matrix[r * ld + r] += (r % 2 ? -1.0 : 1.0) * n;
      std::vector<double> rhs(static_cast<std::size_t>(n));
      for (double& b : rhs) b = coefficient(random);
      const std::vector<double> m0 = matrix;
      const std::vector<double> b0 = rhs;

      std::int32_t flag = -1;
      GEM(matrix, rhs, n, ld, flag);
      ASSERT_EQ(flag, 0);
      for (std::int32_t r = 0; r < n; ++r) {
        double sum = 0;
        for (std::int32_t c = 0; c < n; ++c) sum += m0[r * ld + c] * rhs[c];
        EXPECT_NEAR(sum, b0[r], kResidual);
        for (std::int32_t c = n; c < ld && r + 1 < n; ++c) {
          EXPECT_EQ(matrix[r * ld + c], m0[r * ld + c]);  // spare positions untouched
        }
      }
    }
  }
}

TEST(GEM, NanCoefficientsGiveNanWithoutAFlag) {
  const double nan = std::nan("");
  System s{{nan, 1, 1, 1}, {1, 2}, 2, 2};
  EXPECT_EQ(solve(s), 0);
  EXPECT_TRUE(std::isnan(s.rhs[0]));
}

}  // namespace
}  // namespace astro
