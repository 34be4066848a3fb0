// SPDX-License-Identifier: MIT
// Fixed-width output fields: exact fit, overflow, rounding ties, negative zero.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "driver/fortran_format.hpp"

namespace astro {
namespace {

std::string fixed(double x, int w, int d) {
  std::string s;
  put_fixed(s, x, w, d);
  return s;
}

std::string integer(long long v, int w) {
  std::string s;
  put_integer(s, v, w);
  return s;
}

TEST(PutFixed, BoundaryTable) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* label;
    double x;
    int w, d;
    const char* want;
  };
  const Case cases[] = {
      {"exact fit", 2451545.0, 13, 5, "2451545.00000"},
      {"one too wide", 12451545.0, 13, 5, "*************"},
      {"leading zero kept when it fits", 0.5, 8, 5, " 0.50000"},
      {"leading zero dropped to fit", 0.5, 6, 5, ".50000"},
      {"negative, zero dropped to fit", -0.5, 7, 5, "-.50000"},
      {"negative, no fit even without zero", -0.5, 6, 5, "******"},
      {"negative zero keeps its sign", -0.0, 9, 5, " -0.00000"},
      {"negative rounding to zero keeps its sign", -1e-9, 9, 5, " -0.00000"},
      {"d = 0 ends in the point", 3600.0, 7, 0, "  3600."},
      {"tie to even, down", 2.5, 3, 0, " 2."},
      {"tie to even, up", 3.5, 3, 0, " 4."},
      {"binary value decides, not the decimal text", 0.125, 6, 2, "  0.12"},
      {"just above a tie rounds up", 0.12500000000000003, 6, 2, "  0.13"},
      {"huge", 1e30, 13, 5, "*************"},
      {"rounding carries into a new digit", 99.999996, 9, 5, "100.00000"},
      {"the carry makes it too wide", 99.999996, 8, 5, "********"},
      {"NaN", std::nan(""), 9, 5, "      NaN"},
      {"Inf", kInf, 9, 5, "      Inf"},
      {"-Inf", -kInf, 9, 5, "     -Inf"},
      {"-Inf too narrow", -kInf, 3, 0, "***"},
      {"table angle", 193.98573, 10, 5, " 193.98573"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(fixed(c.x, c.w, c.d), c.want);
  }
}

TEST(PutFixed, AppendsToTheLine) {
  std::string line = "# dt = ";
  put_fixed(line, 1.0 / 24, 8, 5);
  EXPECT_EQ(line, "# dt =  0.04167");
}

TEST(PutInteger, BoundaryTable) {
  struct Case {
    long long v;
    int w;
    const char* want;
  };
  const Case cases[] = {{10000, 4, "****"}, {9999, 4, "9999"}, {-5, 4, "  -5"}, {-999, 4, "-999"},
                        {-1000, 4, "****"}, {10, 1, "*"},      {2, 1, "2"},     {-1, 1, "*"},
                        {7, 2, " 7"},       {100, 2, "**"},    {0, 2, " 0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(integer(c.v, c.w), c.want);
  }
}

}  // namespace
}  // namespace astro
