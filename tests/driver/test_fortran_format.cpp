// SPDX-License-Identifier: MIT
// Fixed-width output fields: exact fit, overflow, rounding ties, negative zero.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
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

std::string printf_fixed(double x, int w, int d) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%*.*f", w, d, x);
  std::string text = buffer;
  if (d == 0) text = text.substr(1) + ".";  // the field always shows its point
  return text;
}

// The digits are printf's: a million values spread over magnitudes from 1e-10 to 1e19
// (the exact integer path and the general one), both signs, 0 to 9 decimals.
TEST(PutFixed, DigitsAgreeWithPrintfOnAMillionValues) {
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<int> exponent(-34, 64);
  std::uniform_int_distribution<std::uint64_t> mantissa(0, (std::uint64_t{1} << 52) - 1);
  std::uniform_int_distribution<int> decimals(0, 9);
  for (int n = 0; n < 1000000; ++n) {
    const double x = std::ldexp(1.0 + std::ldexp(static_cast<double>(mantissa(random)), -52),
                                exponent(random)) * (n % 2 ? -1 : 1);
    const int d = decimals(random);
    ASSERT_EQ(fixed(x, 40, d), printf_fixed(x, 40, d)) << x << " d=" << d;
  }
}

// Exact ties at d decimals are the values t / 2^(d+1) with t an odd multiple of 5^d.
TEST(PutFixed, ExactTiesGoToEvenAsInPrintf) {
  std::uint64_t five_to_d = 1;
  for (int d = 0; d <= 9; ++d, five_to_d *= 5) {
    for (std::uint64_t r = 0; r < 2000; ++r) {
      const double x = std::ldexp(static_cast<double>(five_to_d * (2 * r + 1)), -(d + 1));
      SCOPED_TRACE(testing::Message() << x << " d=" << d);
      ASSERT_EQ(fixed(x, 30, d), printf_fixed(x, 30, d));
      ASSERT_EQ(fixed(-x, 30, d), printf_fixed(-x, 30, d));
    }
  }
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

// Every width is safe: a field wider than the writers' stack buffer (64) once ran past it,
// which AddressSanitizer reports as a stack-buffer-overflow at w = 100. Widths up to 1000,
// both sides of 64, give the whole field; a width of 0 or less gives an empty one.
TEST(FieldWidth, AnyWidthGivesExactlyThatField) {
  const std::string huge = printf_fixed(1e300, 1, 2);  // 301 digits, the point, 2 decimals
  for (int w : {63, 64, 65, 100, 333, 1000}) {
    SCOPED_TRACE(w);
    const auto blanks = [w](std::size_t n) { return std::string(static_cast<std::size_t>(w) - n, ' '); };
    EXPECT_EQ(fixed(2451545.0, w, 5), blanks(13) + "2451545.00000");
    EXPECT_EQ(fixed(-0.5, w, 5), blanks(8) + "-0.50000");
    EXPECT_EQ(fixed(std::nan(""), w, 5), blanks(3) + "NaN");
    EXPECT_EQ(fixed(1e300, w, 2),
              static_cast<int>(huge.size()) <= w ? blanks(huge.size()) + huge : std::string(static_cast<std::size_t>(w), '*'));
    EXPECT_EQ(integer(-42, w), blanks(3) + "-42");
  }
  // Many decimals in a wide field: printf's digits.
  EXPECT_EQ(fixed(0.1, 400, 350), printf_fixed(0.1, 400, 350));
  EXPECT_EQ(fixed(-1.0 / 3, 100, 60), printf_fixed(-1.0 / 3, 100, 60));
  // Appended after what the line holds.
  std::string line = "# x = ";
  put_fixed(line, 1.5, 100, 1);
  put_integer(line, 7, 70);
  EXPECT_EQ(line, "# x = " + std::string(97, ' ') + "1.5" + std::string(69, ' ') + "7");
}

TEST(FieldWidth, ZeroOrNegativeWidthAndBadDecimals) {
  for (int w : {0, -1, -100, std::numeric_limits<int>::min()}) {
    SCOPED_TRACE(w);
    EXPECT_EQ(fixed(1.5, w, 2), "");
    EXPECT_EQ(fixed(std::nan(""), w, 2), "");
    EXPECT_EQ(integer(5, w), "");
    // The buffer writers write nothing and return where they started.
    char field[8] = {'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a'};
    EXPECT_EQ(write_fixed(field + 4, -1.5, w, 2), field + 4);
    EXPECT_EQ(write_integer(field + 4, -15, w), field + 4);
    EXPECT_EQ(std::string(field, 8), "aaaaaaaa");
  }
  // A negative count of decimals, or one that leaves no room for the point: asterisks.
  EXPECT_EQ(fixed(1.5, 9, -1), "*********");
  EXPECT_EQ(fixed(1.5, 9, std::numeric_limits<int>::min()), "*********");
  EXPECT_EQ(fixed(0.5, 5, 5), "*****");
  EXPECT_EQ(fixed(0.5, 6, 5), ".50000");
  EXPECT_EQ(fixed(1.5, 100, std::numeric_limits<int>::max()), std::string(100, '*'));
  EXPECT_EQ(fixed(-std::numeric_limits<double>::infinity(), 9, -3), "     -Inf");
}

// The buffer writers touch exactly out[0 .. w-1], also for wide fields.
TEST(FieldWidth, BufferWritersStayInsideTheirField) {
  for (int w : {1, 9, 64, 65, 200}) {
    SCOPED_TRACE(w);
    for (double x : {0.5, -123.456, 1e30, -1e300, std::nan("")}) {
      std::string buffer(static_cast<std::size_t>(w) + 16, '#');
      char* const field = buffer.data() + 8;
      EXPECT_EQ(write_fixed(field, x, w, 5), field + w);
      EXPECT_EQ(buffer.substr(0, 8), "########");
      EXPECT_EQ(buffer.substr(static_cast<std::size_t>(w) + 8), "########");
      EXPECT_EQ(buffer.substr(8, static_cast<std::size_t>(w)).find('#'), std::string::npos);
    }
    std::string buffer(static_cast<std::size_t>(w) + 16, '#');
    EXPECT_EQ(write_integer(buffer.data() + 8, -9223372036854775807LL - 1, w), buffer.data() + 8 + w);
    EXPECT_EQ(buffer.substr(0, 8) + buffer.substr(static_cast<std::size_t>(w) + 8), std::string(16, '#'));
  }
}

}  // namespace
}  // namespace astro
