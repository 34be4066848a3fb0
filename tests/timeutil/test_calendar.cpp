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

// Worked examples of the classical algorithm (Meeus, Astronomical Algorithms, ch. 7, for the
// dates before year 1 and 333 January 27), the calendar switch of 1582 in both readings, and
// the floor of 365.25 y for years before 1: a truncation toward zero would put -4712 January
// 1.5 at 1.0, -1001 August 17.9 at 1355672.4, -123 December 31 at 1676497.5 and -1000
// February 29 (year term from -1001) at 1355867.5, a day late each.
const DateCase kDates[] = {
    {"J2000.0", 2000, 1, 1.5, 2451545.0},
    {"1987 Jan 27", 1987, 1, 27.0, 2446822.5},
    {"Sputnik launch", 1957, 10, 4.81, 2436116.31},
    {"last Julian day 1582 Oct 4", 1582, 10, 4, 2299159.5},
    {"1582 Oct 17, Gregorian", 1582, 10, 17, 2299162.5},
    {"1582 Oct 15 read as Julian", 1582, 10, 15, 2299170.5},
    {"1582 Oct 16 is the first Gregorian day", 1582, 10, 16, 2299161.5},
    {"leap day with a time", 2024, 2, 29.75, 2460370.25},
    {"year -1000, 365.25 y whole", -1000, 7, 12.5, 1356001.0},
    {"Meeus: JD 0", -4712, 1, 1.5, 0.0},
    {"Meeus: -1001 Aug 17.9", -1001, 8, 17.9, 1355671.4},
    {"Meeus: -123 Dec 31.0", -123, 12, 31.0, 1676496.5},
    {"Meeus: -1000 Feb 29.0, year term from -1001", -1000, 2, 29.0, 1355866.5},
    {"Meeus: 333 Jan 27.5", 333, 1, 27.5, 1842713.0},
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

// Walks every Julian Date from first to last, one day apart: OD then JD returns the Julian
// Date exactly, and the calendar date OD gives moves by exactly one day each step (month and
// year roll over correctly; the switch of 1582 skips ten days once, at the threshold of OD).
void walk_julian_dates(double first, double last) {
  double prev_year = 0, prev_month = 0, prev_day = 0;
  OD(first, prev_year, prev_month, prev_day);
  ASSERT_EQ(JD(prev_year, prev_month, prev_day), first);
  for (double jd = first + 1; jd <= last; jd += 1) {
    double year = 0, month = 0, day = 0;
    OD(jd, year, month, day);
    ASSERT_EQ(JD(year, month, day), jd) << year << '-' << month << '-' << day;
    const bool next_day = year == prev_year && month == prev_month && day == prev_day + 1;
    const bool next_month = (year == prev_year && month == prev_month + 1) ||
                            (year == prev_year + 1 && month == 1 && prev_month == 12);
    const bool switch_day = jd == 2299163.0;  // 1582 Oct 6.5 (Julian) to Oct 17.5
    ASSERT_TRUE(next_day || (next_month && day == 1.5) || switch_day)
        << jd << ": " << year << '-' << month << '-' << day;
    prev_year = year, prev_month = month, prev_day = day;
  }
}

// Walks every calendar date at noon from January 1 of first_year to December 31 of
// last_year, counted with the calendar's own rules (Julian leap years, every fourth year,
// negative ones included, up to 1582 October 6; then 1582 October 17 and the Gregorian
// rule, as OD counts): JD puts each date one day after the one before, and OD gives it back.
void walk_calendar_dates(int first_year, int last_year) {
  const auto leap = [](int y, bool gregorian) {
    const bool julian = ((y % 4) + 4) % 4 == 0;
    return gregorian ? julian && (y % 100 != 0 || y % 400 == 0) : julian;
  };
  int year = first_year, month = 1, day = 1;
  double prev_jd = JD(year, month, day + 0.5) - 1;
  while (year <= last_year) {
    const double jd = JD(year, month, day + 0.5);
    ASSERT_EQ(jd, prev_jd + 1) << year << '-' << month << '-' << day;
    double y = 0, m = 0, d = 0;
    OD(jd, y, m, d);
    ASSERT_EQ(y, year) << jd;
    ASSERT_EQ(m, month) << jd;
    ASSERT_EQ(d, day + 0.5) << jd;
    prev_jd = jd;

    const bool gregorian = year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day > 6)));
    constexpr int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int length = kLength[month - 1] + (month == 2 && leap(year, gregorian) ? 1 : 0);
    if (year == 1582 && month == 10 && day == 6) {
      day = 17;
    } else if (day < length) {
      ++day;
    } else if (month < 12) {
      day = 1, ++month;
    } else {
      day = 1, month = 1, ++year;
    }
  }
}

TEST(OD, RoundTripFromYearOneToThreeThousand) {
  walk_julian_dates(JD(1, 1, 1.5), JD(3000, 12, 31.5));
}

// Before year 1 as well, from JD 0 (-4712 January 1.5) past the calendar switch to 1583, in
// both directions: the year term of JD is floored, so every day of the negative years comes
// back and no day is counted twice or skipped.
TEST(OD, RoundTripBeforeYearOne) {
  walk_julian_dates(0.0, JD(1583, 12, 31.5));
  walk_calendar_dates(-4712, 1583);
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
