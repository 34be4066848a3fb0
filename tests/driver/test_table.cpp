// SPDX-License-Identifier: MIT
// The result table: row layout, instants computed from the row index, long runs that end.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/constants.hpp"
#include "driver/table.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr std::size_t kRowLength = 94;

RunParameters prague(double jd0, double dt, std::int32_t nsteps) {
  RunParameters p;
  p.phi = (50 + 5.0 / 60) * kDegToRad;
  p.lambda = (14 + 25.0 / 60) * kDegToRad;
  p.jd0 = jd0;
  p.dt = dt;
  p.nsteps = nsteps;
  p.precession = p.nutation = p.refraction = 1;
  return p;
}

std::string table(const RunParameters& p) {
  std::ostringstream out;
  write_table(p, out);
  return out.str();
}

std::string last_row(const std::string& text) {
  const auto end = text.size() - 1;
  return text.substr(text.rfind('\n', end - 1) + 1);
}

// The instant of row i is i dt + jd0 itself: row 1000 of a long run, with a step that is
// not a binary fraction, is the same text as a one-row run for that instant.
TEST(Table, RowThousandHasNoDrift) {
  const double dt = 1.0 / 1440 * 7;  // seven minutes
  const double jd0 = 2461200.5;
  const std::string long_run = table(prague(jd0, dt, 1001));
  const std::string single = table(prague(1000 * dt + jd0, dt, 1));
  EXPECT_EQ(last_row(long_run), last_row(single));
}

TEST(Table, EveryRowHasTheFixedLayout) {
  std::istringstream rows(table(prague(2461200.5, 0.37, 400)));
  std::string row;
  std::getline(rows, row);
  EXPECT_EQ(row.rfind("# JD (UT)", 0), 0u);
  int count = 0;
  while (std::getline(rows, row)) {
    ++count;
    ASSERT_EQ(row.size(), kRowLength) << row;
    EXPECT_EQ(row.find('*'), std::string::npos) << row;
  }
  EXPECT_EQ(count, 400);
}

// Far from 2000 the Earth's mean anomaly passes 512 rad, where the Kepler iteration can
// cycle between two neighbouring doubles; every row must still come out, and the Sun's
// declination stays within the obliquity.
TEST(Table, HourlyRowsThroughWholeYearsFarFromTwoThousandFinish) {
  for (double year : {1900.0, 2200.0}) {
    SCOPED_TRACE(year);
    const double jd0 = JD(year, 1, 1);
    std::istringstream rows(table(prague(jd0, 1.0 / 24, 24 * 365)));
    std::string row;
    std::getline(rows, row);
    int count = 0;
    while (std::getline(rows, row)) {
      ++count;
      ASSERT_EQ(row.size(), kRowLength) << row;
      const double declination = std::stod(row.substr(75, 9));
      ASSERT_LE(std::abs(declination), 23.5) << row;
    }
    EXPECT_EQ(count, 24 * 365);
  }
}

TEST(Table, RowsBeforeAnInstantOutOfRangeAreWritten) {
  std::ostringstream out;
  EXPECT_THROW(write_table(prague(2451545.0, 3e7, 5), out), RangeError);
  const std::string text = out.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);  // header and two rows
}

}  // namespace
}  // namespace astro
