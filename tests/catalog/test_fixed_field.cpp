// SPDX-License-Identifier: MIT
// The real w.d field reader on column-exact line literals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "catalog/fixed_field.hpp"

namespace astro {
namespace {

struct ValueCase {
  const char* label;
  std::string line;
  RealField field;
  double want;
};

// Values worked out by hand from the field rules: blanks dropped, the last d digits of the
// mantissa decimals unless the field holds a point, an exponent scaling the result.
const ValueCase kValues[] = {
    {"implied decimals", "  1234567", {1, 9, 7}, 0.1234567},
    {"implied decimals, leading zeros implied", "        5", {1, 9, 7}, 0.0000005},
    {"implied decimals, negative", "-5", {1, 2, 2}, -0.05},
    {"point overrides d", "      1.5", {1, 9, 7}, 1.5},
    {"point at the end", "12.", {1, 3, 2}, 12.0},
    {"point first", ".25", {1, 3, 0}, 0.25},
    {"blanks inside the field", " 1 2 . 5", {1, 8, 0}, 12.5},
    {"blanks inside, no point", "1 2 3", {1, 5, 1}, 12.3},
    {"all blank", "         ", {1, 9, 7}, 0.0},
    {"field past the end of the line", "12", {5, 4, 0}, 0.0},
    {"line ends inside the field", "    12", {5, 4, 2}, 0.12},
    {"only the first w columns of a slot", "12.59", {1, 4, 0}, 12.5},
    {"field inside a line", "abc 42 xyz", {4, 3, 0}, 42.0},
    {"plus sign", "+7", {1, 2, 0}, 7.0},
    {"exponent scales the implied-decimal mantissa", "12345E2", {1, 7, 2}, 12345.0},
    {"negative exponent", "12345E-2", {1, 8, 2}, 1.2345},
    {"exponent with a point", "1.5E2", {1, 5, 2}, 150.0},
    {"D exponent, d = 0", "1d3", {1, 3, 0}, 1000.0},
    {"exponent, few digits", "5e1", {1, 3, 2}, 0.5},
    {"underflow reads as 0", "1e-400", {1, 6, 0}, 0.0},
};

TEST(ReadReal, FieldValues) {
  for (const auto& c : kValues) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(read_real(c.line, c.field), c.want);
  }
}

struct InvalidCase {
  const char* label;
  std::string line;
};

// Everything that is not one number of the shared grammar once blanks are dropped.
const InvalidCase kInvalid[] = {
    {"letter", "  1x.5"},
    {"tab", "\t 12  "},
    {"lone sign", "  -   "},
    {"lone point", "  .   "},
    {"exponent only", "  E5  "},
    {"exponent without digits", "1.5E  "},
    {"sign exponent", "1.0+5 "},
    {"two points", "1.2.3 "},
    {"overflow", "1e999 "},
    {"inf", " inf  "},
    {"nan", " nan  "},
    {"hexadecimal", "0x1A  "},
    {"comma", "  1,5 "},
    {"sign inside", "1-2   "},
    {"NUL byte", std::string("1\0 2  ", 6)},
    {"byte 255", "12\xff   "},
};

TEST(ReadReal, InvalidFieldsThrow) {
  for (const auto& c : kInvalid) {
    SCOPED_TRACE(c.label);
    EXPECT_THROW(read_real(c.line, {1, 6, 2}), FieldError);
  }
}

// The exception names the field's columns and quotes the line without its padding.
TEST(ReadReal, MessageNamesColumnsAndLine) {
  const std::string line = "00433         C2016 03 1x.09307 20 02 33.69 -25 45 26.1          ";
  try {
    read_real(line, {24, 8, 5});
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "not a number in columns 24-31 of line \"00433         C2016 03 1x.09307 20 02 "
                 "33.69 -25 45 26.1\"");
  }
}

// Every byte value in the first column of a two-column field "?5": a number only for
// digits, blank, sign and point; every other byte throws and none crashes.
TEST(ReadReal, EveryByteValue) {
  const std::string accepted = "0123456789 +-.";
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string line{static_cast<char>(b), '5'};
    if (accepted.find(static_cast<char>(b)) != std::string::npos) {
      EXPECT_NO_THROW(read_real(line, {1, 2, 0}));
    } else {
      EXPECT_THROW(read_real(line, {1, 2, 0}), FieldError);
    }
  }
}

}  // namespace
}  // namespace astro
