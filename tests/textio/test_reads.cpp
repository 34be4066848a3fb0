// SPDX-License-Identifier: MIT
// Field readers on 80-byte blank-padded answer buffers, as the dialogue hands them over.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "core/constants.hpp"
#include "textio/reads.hpp"

namespace astro {
namespace {

constexpr double kRadTol = 1e-15;
const std::string kFailure = "reads: error reading input: ";

std::string buffer80(std::string text) {
  text.resize(80, ' ');
  return text;
}

struct SexagesimalCase {
  const char* text;
  double degrees;       // expected value in degrees
  const char* message;  // expected output, "" for none
};

// Degrees are those the combination rule gives; the value in radians is degrees * k.
const SexagesimalCase kSexagesimal[] = {
    {"+50:05:00", 50 + 5.0 / 60, ""},
    {"50:05", 50 + 5.0 / 60, ""},
    {"50.5", 50.5, ""},
    {"-50:05:00", -(50 + 5.0 / 60), ""},
    {"-0.5", -0.5, ""},
    // The sign bit of the first field counts, also when the field reads as zero.
    {"-00:30:00", -0.5, ""},
    {"-0:30", -0.5, ""},
    {"-0:07:39", -(7.0 / 60 + 39.0 / 3600), ""},   // London's longitude, west
    {"-0:10:48", -(10.0 / 60 + 48.0 / 3600), ""},  // Quito's latitude, south
    {"+0:30", 0.5, ""},
    {"0:-30", -0.5, ""},  // a positive zero, then a negative minute field
    {"50:-05", 50 - 5.0 / 60, ""},  // later fields keep their own signs
    {"50 05 00", 50, ""},           // one field; the number ends at the blank
    {"50:05:00 /* site", 50 + 5.0 / 60, ""},
    {"10:20:30 :40", 10 + 20.0 / 60 + 30.0 / 3600, ""},
    {"\t50:\t05", 50 + 5.0 / 60, ""},  // tabs are blanks inside a field
    {"1.5D1:30", 15.5, ""},            // D exponent
    {".5:5.", 0.5 + 5.0 / 60, ""},
    {"1e-400", 0, ""},  // underflow reads as zero, not as a failure
    {"/*", 0, ""},      // the worker sees "/": an empty first item reads as 0
    {",5", 0, ""},
    {"50:", 0, "50:\n"},
    {"", 0, "\n"},
    {"10:20:30:40", 0, "10:20:30:40\n"},  // third field "30:40" is not a number
    {"1e999", 0, "1e999\n"},
    {"inf", 0, "inf\n"},
    {"1.0+5", 0, "1.0+5\n"},
    {"1.5E", 0, "1.5E\n"},
    {"-", 0, "-\n"},
    {".", 0, ".\n"},
    {"0x10", 0, "0x10\n"},
    {"12 /* bad: 5", 12, ""},
    {"ab /* note", 0, "ab /\n"},  // the message shows the text after comment stripping
    {"# comment", 0, "# comment\n"},
    // Decimal comma: after a sign and digits, a comma directly followed by a digit.
    {"50,0833", 50.0833, ""},
    {"-0,5", -0.5, ""},
    {"5,6,7", 5.6, ""},                 // the second comma ends the item
    {"50,05:30", 50.05 + 30.0 / 60, ""},
    {"-0,5:30", -1.0, ""},
    {"50:05,5", 50 + 5.5 / 60, ""},
    {"0,5 /* half a degree", 0.5, ""},  // the blank ends the item
    {"5,5\t7", 5.5, ""},
    {"5,5e3", 5500, ""},                // the exponent belongs to the item
    {"1,5D1", 15, ""},
    {"50,x", 50, ""},                   // no digit after the comma: it ends the item
    {"50, 5", 50, ""},
    {"5,,5", 5, ""},
    {"50.5,25", 50.5, ""},              // the item holds a point already
    {"5e1,5", 50, ""},
    {"5,5x", 0, "5,5x\n"},             // the item with the comma must be a number
    {"5,5.3", 0, "5,5.3\n"},
    {"5,5e", 0, "5,5e\n"},
    {"50:05,5x", 0, "50:05,5x\n"},
    {"-,5", 0, "-,5\n"},               // a lone sign is no number, comma or not
};

TEST(READS3, SexagesimalValuesAndFailures) {
  for (const auto& c : kSexagesimal) {
    SCOPED_TRACE(c.text);
    std::ostringstream out;
    const double got = READS3(buffer80(c.text), out);
    EXPECT_NEAR(got, c.degrees * kDegToRad, kRadTol);
    EXPECT_EQ(out.str(), *c.message ? kFailure + c.message : "");
  }
}

TEST(READS3, SignOfResult) {
  std::ostringstream out;
  EXPECT_TRUE(std::signbit(READS3(buffer80("-0"), out)));  // one field keeps -0.0
  EXPECT_TRUE(std::signbit(READS3(buffer80("-0:0"), out)));
  EXPECT_TRUE(std::signbit(READS3(buffer80("-0:0:0"), out)));
  EXPECT_FALSE(std::signbit(READS3(buffer80("0:0:0"), out)));
  EXPECT_FALSE(std::signbit(READS3(buffer80("+0:0"), out)));
  EXPECT_EQ(out.str(), "");
}

// The checked readers give READS2's and READS_SPLIT's results and say whether a field failed.
TEST(CheckedReaders, ReportSuccessAsWellAsTheValue) {
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {{"50:05:00", true}, {"-0:30", true}, {"/*", true}, {",5", true},
                        {"50,5", true},     {"50:", false},  {"", false},  {"5,5x", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string text = buffer80(c.text);
    std::ostringstream checked_out, plain_out;
    double value = 123;
    EXPECT_EQ(read_sexagesimal(strip_comment(text), ":", value, checked_out), c.ok);
    EXPECT_EQ(value, READS3(text, plain_out));
    EXPECT_EQ(checked_out.str(), plain_out.str());
    EXPECT_EQ(checked_out.str().empty(), c.ok);

    double a = 1, b = 2, cc = 3, pa = 4, pb = 5, pc = 6;
    std::ostringstream split_out, plain_split_out;
    EXPECT_EQ(read_split(strip_comment(text), ":", a, b, cc, split_out), c.ok);
    READS_SPLIT3(text, ":", pa, pb, pc, plain_split_out);
    EXPECT_EQ(a, pa);
    EXPECT_EQ(b, pb);
    EXPECT_EQ(cc, pc);
    EXPECT_EQ(split_out.str(), plain_split_out.str());
  }
}

TEST(READS2, SeparatorIsTheFirstCharacterOnly) {
  std::ostringstream out;
  EXPECT_NEAR(READS2("12/30", "/xyz", out), 12.5 * kDegToRad, kRadTol);
  EXPECT_NEAR(READS("12:30", out), 12.5 * kDegToRad, kRadTol);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(READS2("12:30", "", out), 0.0);  // no separator: "12:30" is one field, not a number
  EXPECT_EQ(out.str(), kFailure + "12:30\n");
}

struct SplitCase {
  const char* text;
  const char* separator;
  double a, b, c;
  bool fails;
};

const SplitCase kSplits[] = {
    {"2024/03/15", "/", 2024, 3, 15, false},
    {"2451545.0", "/", 2451545.0, 0, 0, false},
    {"12:30", ":", 12, 30, 0, false},
    {"2024/3", "/", 2024, 3, 0, false},
    {"2024/03/15 /* x", "/", 2024, 3, 15, false},
    {"-5/-6/-7", "/", -5, -6, -7, false},  // no sign handling in split fields
    {"2024/x/15", "/", 0, 0, 0, true},     // fields already read are zeroed too
    {"2024/03 /* x", "/", 0, 0, 0, true},  // the slash of "/*" leaves an empty last field
    {"2451545.0 /* x", "/", 0, 0, 0, true},
    {"2024//15", "/", 0, 0, 0, true},
    // A decimal comma in a split field; a comma not followed by a digit ends the number.
    {"2024/03/15,5", "/", 2024, 3, 15.5, false},
    {"12:30,5:00", ":", 12, 30.5, 0, false},
    {"2451545,25", "/", 2451545.25, 0, 0, false},
    {"2024/3,x/1", "/", 2024, 3, 1, false},
    {"2024/3,5x/1", "/", 0, 0, 0, true},
};

TEST(READS_SPLIT3, FieldsAndFailures) {
  for (const auto& c : kSplits) {
    SCOPED_TRACE(c.text);
    std::ostringstream out;
    double a = -1, b = -1, cc = -1;
    READS_SPLIT3(buffer80(c.text), c.separator, a, b, cc, out);
    EXPECT_EQ(a, c.a);
    EXPECT_EQ(b, c.b);
    EXPECT_EQ(cc, c.c);
    EXPECT_EQ(out.str().rfind(kFailure, 0) == 0, c.fails) << out.str();
  }
}

TEST(READS3, HostileTextNeverCrashes) {
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes.push_back(static_cast<char>(b));
  const std::string long_text(10000, '7');
  std::ostringstream out;
  READS3(all_bytes, out);
  double a = 0, b = 0, c = 0;
  READS_SPLIT3(all_bytes, "/", a, b, c, out);
  EXPECT_EQ(READS3(long_text, out), 0.0);  // 7777...7 overflows a double: a failure
  READS_SPLIT3(std::string(10000, '/'), "/", a, b, c, out);
  EXPECT_EQ(a + b + c, 0.0);
}

TEST(LENGTH, OnlyTheBlankIsBlank) {
  EXPECT_EQ(LENGTH("ab  "), 2);
  EXPECT_EQ(LENGTH("    "), 0);
  EXPECT_EQ(LENGTH(""), 0);
  EXPECT_EQ(LENGTH("a\t"), 2);
  EXPECT_EQ(LENGTH(std::string("a\0 ", 3)), 2);
}

TEST(Signs, BothZerosArePositive) {
  EXPECT_EQ(SIGNUM(-0.0), 1.0);
  EXPECT_EQ(SIGNUM(-2.0), -1.0);
  EXPECT_EQ(SIGNUM(0.0), 1.0);
  EXPECT_EQ(SIGNC(-0.0), '+');
  EXPECT_EQ(SIGNC(-1e-300), '-');
}

TEST(ParseReal, GrammarAndRange) {
  struct Case {
    const char* item;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"5", true, 5},        {"+5.", true, 5},      {"-.5", true, -0.5},
      {"1.5e3", true, 1500}, {"1.5d-3", true, 1.5e-3}, {"2E+2", true, 200},
      {"1e-320", true, 1e-320},  // subnormal
      {"1e-400", true, 0},    {"-1e-400", true, -0.0},
      {"1.7976931348623157e308", true, 1.7976931348623157e308},
      {"1.8e308", false, 0},  {"1e99999999999999", false, 0},
      {"0e99999999", true, 0}, {"00000000000000000000000000001", true, 1},
      {"", false, 0},         {"+", false, 0},       {".", false, 0},
      {"e5", false, 0},       {"5e", false, 0},      {"5e+", false, 0},
      {"nan", false, 0},      {"inf", false, 0},     {"0x1p3", false, 0},
      {"1.0+5", false, 0},    {"5 ", false, 0},      {"--5", false, 0},
      {"1,5", false, 0},      {"1.2.3", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    double value = 123;
    EXPECT_EQ(parse_real(c.item, value), c.ok);
    if (c.ok) {
      EXPECT_EQ(value, c.value);
      EXPECT_EQ(std::signbit(value), std::signbit(c.value));
    } else {
      EXPECT_EQ(value, 123);
    }
  }
}

}  // namespace
}  // namespace astro
