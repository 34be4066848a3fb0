// SPDX-License-Identifier: MIT
// Julian Date, calendar date and fractional part.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr double kDayTol = 1e-9;  // days (~0.1 ms)

struct DateCase {
  const char* label;
  double year, month, day;
  double jd;
};

// Worked examples of the classical algorithm, the calendar switch of 1582 in both readings,
// and the truncation toward zero of 365.25 y for years before 1 (not a floor).
const DateCase kDates[] = {
    {"J2000.0", 2000, 1, 1.5, 2451545.0},
    {"1987 Jan 27", 1987, 1, 27.0, 2446822.5},
    {"Sputnik launch", 1957, 10, 4.81, 2436116.31},
    {"last Julian day 1582 Oct 4", 1582, 10, 4, 2299159.5},
    {"1582 Oct 17, Gregorian", 1582, 10, 17, 2299162.5},
    {"1582 Oct 15 read as Julian", 1582, 10, 15, 2299170.5},
    {"1582 Oct 16 is the first Gregorian day", 1582, 10, 16, 2299161.5},
    {"leap day with a time", 2024, 2, 29.75, 2460370.25},
    {"year -1000 truncates toward zero", -1000, 7, 12.5, 1356001.0},
};

TEST(JD, ReferenceDates) {
  for (const auto& c : kDates) {
    SCOPED_TRACE(c.label);
    EXPECT_NEAR(JD(c.year, c.month, c.day), c.jd, kDayTol);
  }
}

TEST(JD, DayZeroIsTheLastDayOfThePreviousMonth) {
  EXPECT_EQ(JD(2024, 3, 0), JD(2024, 2, 29));
  EXPECT_EQ(JD(2023, 3, 0), JD(2023, 2, 28));
}

struct CalendarCase {
  const char* label;
  double jd;
  double year, month, day;
};

const CalendarCase kCalendar[] = {
    {"J2000.0", 2451545.0, 2000, 1, 1.5},
    {"JD 0", 0.0, -4712, 1, 1.5},
    {"2023 Feb 25", 2460000.5, 2023, 2, 25.0},
    {"1582 Oct 4", 2299159.5, 1582, 10, 4},
    {"first Gregorian output 1582 Oct 17", 2299162.5, 1582, 10, 17},
    {"Julian 1582 Oct 15 comes out as Oct 25", 2299170.5, 1582, 10, 25},
    {"Gregorian 1582 Oct 16 comes out as Oct 6", 2299161.5, 1582, 10, 6},
    {"leap day with a time", 2460370.25, 2024, 2, 29.75},
};

TEST(OD, ReferenceDates) {
  for (const auto& c : kCalendar) {
    SCOPED_TRACE(c.label);
    double year = 0, month = 0, day = 0;
    OD(c.jd, year, month, day);
    EXPECT_EQ(year, c.year);
    EXPECT_EQ(month, c.month);
    EXPECT_NEAR(day, c.day, kDayTol);
  }
}

// Every day from year 1 to 3000: OD then JD returns the Julian Date exactly, and the
// calendar date moves by exactly one day each step (month and year roll over correctly).
// Before year 1 the two part ways on purpose: JD truncates 365.25 y toward zero.
TEST(OD, RoundTripOverThreeThousandYears) {
  const double first = JD(1, 1, 1.5);
  const double last = JD(3000, 12, 31.5);
  double prev_year = 0, prev_month = 0, prev_day = 0;
  OD(first - 1, prev_year, prev_month, prev_day);
  for (double jd = first; jd <= last; jd += 1) {
    double year = 0, month = 0, day = 0;
    OD(jd, year, month, day);
    ASSERT_EQ(JD(year, month, day), jd) << year << '-' << month << '-' << day;
    const bool next_day = year == prev_year && month == prev_month && day == prev_day + 1;
    const bool next_month = (year == prev_year && month == prev_month + 1) ||
                            (year == prev_year + 1 && month == 1 && prev_month == 12);
    // The calendar switch skips ten days once, at the threshold of OD.
    const bool switch_day = jd == 2299163.0;  // 1582 Oct 6.5 (Julian) to Oct 17.5
    ASSERT_TRUE(next_day || (next_month && day == 1.5) || switch_day)
        << jd << ": " << year << '-' << month << '-' << day;
    prev_year = year, prev_month = month, prev_day = day;
  }
}

TEST(FRAC, SignAndMagnitude) {
  EXPECT_EQ(FRAC(2451545.75), 0.75);
  EXPECT_EQ(FRAC(-0.5), -0.5);
  EXPECT_EQ(FRAC(-1.25), -0.25);
  EXPECT_EQ(FRAC(3.0), 0.0);
  EXPECT_TRUE(std::isnan(FRAC(std::numeric_limits<double>::quiet_NaN())));
}

// FRAC subtracts in double: the difference is exact, so it must equal the extended-precision
// difference x - INT(x) bit for bit, for every magnitude from subnormal to 2^31 and both signs.
TEST(FRAC, EqualsTheExtendedPrecisionDifference) {
  std::mt19937_64 random(20261210);
  std::uniform_int_distribution<int> exponent(-1074, 30);
  std::uniform_int_distribution<std::uint64_t> mantissa(0, (std::uint64_t{1} << 52) - 1);
  for (int n = 0; n < 1000000; ++n) {
    const double x = std::ldexp(1.0 + std::ldexp(static_cast<double>(mantissa(random)), -52),
                                exponent(random)) * (n % 2 ? -1 : 1);
    const long double whole = std::trunc(x);
    const double want = static_cast<double>(static_cast<long double>(x) - whole);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(FRAC(x)), std::bit_cast<std::uint64_t>(want)) << x;
  }
}

TEST(Int32Trunc, AcceptsBelowTwoToTheThirtyFirstAndNamesTheRoutineOtherwise) {
  EXPECT_EQ(int32_trunc(2147483647.9, "T"), 2147483647);
  EXPECT_EQ(int32_trunc(-2147483647.9, "T"), -2147483647);
  EXPECT_EQ(int32_trunc(-0.7, "T"), 0);
  for (double bad : {2147483648.0, -2147483648.0, 1e300, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(bad);
    try {
      int32_trunc(bad, "ROUTINE");
      ADD_FAILURE() << "no exception";
    } catch (const RangeError& e) {
      EXPECT_NE(std::string(e.what()).find("ROUTINE"), std::string::npos) << e.what();
    }
  }
}

TEST(OutOfRange, CalendarRoutinesThrowInsteadOfOverflowing) {
  EXPECT_THROW(JD(9999999, 1, 1), RangeError);       // 365.25 y beyond 32 bits
  EXPECT_THROW(JD(5879489, 12, 1), RangeError);      // each INT fits, their sum does not
  EXPECT_THROW(JD(2000, 1, 3e9), RangeError);        // the day's own truncation
  EXPECT_THROW(JD(1500, 1, 3e9), RangeError);        // in any year
  EXPECT_THROW(FRAC(3e9), RangeError);
  double y = 0, m = 0, d = 0;
  EXPECT_THROW(OD(2147483648.0, y, m, d), RangeError);
  EXPECT_NO_THROW(OD(2000000000.0, y, m, d));
}

}  // namespace
}  // namespace astro
