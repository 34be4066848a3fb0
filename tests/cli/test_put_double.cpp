// SPDX-License-Identifier: MIT
// put_double, the astro command's shortest round-trip writer, against std::to_chars without
// a format, whose text it must give byte for byte: on every kind of double (zeros,
// subnormals, the extremes, powers of ten and two and their neighbours, the limits of fixed
// notation), on every count of digits at every decimal exponent, and on millions of random
// bit patterns and values of the columns' ranges.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "cli/output.hpp"

namespace astro::cli {
namespace {

std::string with_put_double(double v) {
  char buffer[64];
  return std::string(buffer, put_double(buffer, v));
}

std::string with_to_chars(double v) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// Counts the values whose texts differ and reports the first few.
class Comparison {
 public:
  void check(double v) {
    ++checked_;
    const std::string got = with_put_double(v);
    const std::string want = with_to_chars(v);
    if (got == want) return;
    if (++failures_ <= 10) {
      ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint64_t>(v) << std::dec
                    << ": put_double " << got << ", std::to_chars " << want;
    }
  }
  long checked() const { return checked_; }
  long failures() const { return failures_; }

 private:
  long checked_ = 0;
  long failures_ = 0;
};

// The layouts to_chars chooses, written out: the shorter of fixed and scientific, fixed on a
// tie, the exponent with its sign and at least two digits.
TEST(PutDouble, Layouts) {
  struct Case {
    double value;
    const char* want;
  };
  const Case kCases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1.0, "1"},
      {0.001, "0.001"},          // five characters either way: fixed
      {0.0001, "1e-04"},         // "0.0001" is longer
      {0.00012, "0.00012"},      // a tie
      {0.000123, "0.000123"},    // a tie
      {0.0000123, "1.23e-05"},
      {10000.0, "10000"},        // a tie
      {100000.0, "1e+05"},
      {1200000.0, "1200000"},    // a tie
      {12000000.0, "1.2e+07"},
      {123456789.0, "123456789"},
      {2461200.9166666665, "2461200.9166666665"},
      {-0.0012436607354700637, "-0.0012436607354700637"},
      {1e-300, "1e-300"},
      {1.5e300, "1.5e+300"},
      {5e-324, "5e-324"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(with_to_chars(c.value), c.want);
    EXPECT_EQ(with_put_double(c.value), c.want);
  }
}

TEST(PutDouble, SpecialValuesAndBoundaries) {
  using limits = std::numeric_limits<double>;
  std::vector<double> values = {
      0.0,
      limits::denorm_min(),
      limits::min(),
      std::nextafter(limits::min(), 0.0),  // the largest subnormal
      limits::max(),
      limits::epsilon(),
      limits::infinity(),
      limits::quiet_NaN(),
      0x1p53,
      0x1p53 - 1,
      0x1p53 + 2,
      0x1p52,
      0x1p52 + 0.5,
      9007199254740993.0,
      1e15,
      1e16,
      1e17,
      123456789012345678.0,
      12300000000000001048576.0,
      1e21,
      1e22,
      1e23,
      0.1,
      1.0 / 3,
      2.0 / 3,
  };
  // Powers of ten and of two across the whole range, with their neighbours.
  for (int e = -325; e <= 309; ++e) values.push_back(std::strtod(("1e" + std::to_string(e)).c_str(), nullptr));
  for (int e = -1074; e <= 1023; ++e) values.push_back(std::ldexp(1.0, e));
  Comparison compare;
  for (double v : values) {
    for (double w : {v, std::nextafter(v, 0.0), std::nextafter(v, limits::infinity())}) {
      compare.check(w);
      compare.check(-w);
    }
  }
  EXPECT_EQ(compare.failures(), 0) << "of " << compare.checked();
}

// Every count of significant digits (1 to 17) at every decimal exponent of a double, the
// digits random but the first and the last nonzero: the layout's whole range, ties included.
TEST(PutDouble, EveryDigitCountAtEveryExponent) {
  std::mt19937_64 random(20260609);
  std::uniform_int_distribution<int> digit(0, 9), nonzero(1, 9);
  Comparison compare;
  for (int pass = 0; pass < 12; ++pass) {
    for (int count = 1; count <= 17; ++count) {
      for (int exp10 = -325; exp10 <= 309; ++exp10) {
        std::string text(1, static_cast<char>('0' + nonzero(random)));
        for (int k = 1; k < count; ++k) {
          text += static_cast<char>('0' + (k == count - 1 ? nonzero(random) : digit(random)));
        }
        text += 'e' + std::to_string(exp10 - count + 1);
        const double v = std::strtod(text.c_str(), nullptr);  // beyond the range: 0 or inf
        compare.check(v);
        compare.check(-v);
      }
    }
  }
  EXPECT_EQ(compare.failures(), 0) << "of " << compare.checked();
}

// Uniformly random bit patterns: every exponent, subnormals, NaNs with any payload.
TEST(PutDouble, RandomBitPatterns) {
  std::mt19937_64 random(1781020800);
  Comparison compare;
  for (int k = 0; k < 4'000'000; ++k) compare.check(std::bit_cast<double>(random()));
  EXPECT_EQ(compare.failures(), 0) << "of " << compare.checked();
}

// The columns' values: angles in degrees, Julian Dates of the years 0000-9999, distances in
// au, and small latitudes of the ecliptic.
TEST(PutDouble, RandomValuesOfTheColumns) {
  std::mt19937_64 random(2461200);
  std::uniform_real_distribution<double> angle(-360, 360), jd(1721059.5, 5373484.5),
      distance(0.98, 1.02), small(-1e-3, 1e-3);
  Comparison compare;
  for (int k = 0; k < 500'000; ++k) {
    compare.check(angle(random));
    compare.check(jd(random));
    compare.check(distance(random));
    compare.check(small(random));
  }
  EXPECT_EQ(compare.failures(), 0) << "of " << compare.checked();
}

}  // namespace
}  // namespace astro::cli
