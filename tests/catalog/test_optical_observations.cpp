// SPDX-License-Identifier: MIT
// read_observations on the copied MPC files (values worked out by hand from their lines), on
// column-exact line literals for the type filter and the name rules, and on its errors.
#include <gtest/gtest.h>

#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/fixed_field.hpp"
#include "catalog/optical_observations.hpp"
#include "file_fixtures.hpp"

namespace astro {
namespace {

using testing::mpc_file;
using testing::TempDir;

// A Julian Date near 2.45e6 is held to 4.7e-10 day (40 microseconds); the angles are one
// rounding from exact.
constexpr double kDayTol = 1e-9;
constexpr double kRadTol = 1e-15;
constexpr double kSecondOfTime = std::numbers::pi / 43200.0;
constexpr double kArcsecond = std::numbers::pi / 648000.0;

// A real line of eros.obs, its type column replaced.
std::string eros_line(char note2) {
  std::string line =
      "00433         C2016 03 12.09307 20 02 33.69 -25 45 26.1          15.2 Ro~1oexK95";
  line[14] = note2;
  return line;
}

std::vector<Observation> read_text(const std::string& text, std::string_view name,
                                   std::string_view types = kDefaultNote2) {
  std::istringstream in(text);
  return read_observations(in, name, types);
}

struct HandLine {
  const char* file;
  const char* object;
  std::size_t index;  // position among the object's accepted lines
  const char* designation;
  double jd;          // 0h of the date (counted from JD 2451544.5, 2000-01-01) + day fraction
  double ra_seconds;  // 3600 h + 60 m + s
  double dec_arcsec;  // signed 3600 d + 60 m + s
  char note2;
  const char* code;
};

// Lines worked out by hand: 2016-03-12 is day 5915 after 2000-01-01 (16 years with 4 leap
// days, then 31 + 29 + 11); 2004-06-19 is day 1631 (1461 + 152 + 18); the Apophis lines keep
// the sixth decimal of the day and the third of the RA seconds that READ_MPC drops.
const HandLine kHandLines[] = {
    {"eros.obs", "433", 0, "00433", 2451544.5 + 5915 + 0.09307, 20 * 3600 + 2 * 60 + 33.69,
     -(25 * 3600 + 45 * 60 + 26.1), 'C', "K95"},
    {"apophis.obs", "99942", 6, "99942", 2451544.5 + 1631 + 0.170150,
     9 * 3600 + 44 * 60 + 29.677, 13 * 3600 + 18 * 60 + 50.67, 'C', "695"},
    {"apophis.obs", "99942", 7, "99942K04M04N", 2451544.5 + 1631 + 0.17486,
     9 * 3600 + 44 * 60 + 30.584, 13 * 3600 + 18 * 60 + 46.78, 'C', "695"},
    {"apophis.obs", "K04M04N", 6, "99942K04M04N", 2451544.5 + 1631 + 0.17486,
     9 * 3600 + 44 * 60 + 30.584, 13 * 3600 + 18 * 60 + 46.78, 'C', "695"},
};

TEST(ReadObservations, RealLinesKeepEveryDigit) {
  for (const HandLine& c : kHandLines) {
    SCOPED_TRACE(std::string(c.file) + " " + c.object + " #" + std::to_string(c.index));
    const auto obs = read_observations(mpc_file(c.file), c.object);
    ASSERT_GT(obs.size(), c.index);
    const Observation& o = obs[c.index];
    EXPECT_EQ(o.designation, c.designation);
    EXPECT_NEAR(o.jd_utc, c.jd, kDayTol);
    EXPECT_NEAR(o.ra, c.ra_seconds * kSecondOfTime, kRadTol);
    EXPECT_NEAR(o.dec, c.dec_arcsec * kArcsecond, kRadTol);
    EXPECT_EQ(o.note2, c.note2);
    EXPECT_EQ(o.observatory, c.code);
  }
}

TEST(ReadObservations, CountsOfTheRealFiles) {
  struct Case {
    const char* file;
    const char* object;
    const char* types;
    std::size_t count;
  };
  // Counts of column 15 in the files (data/README.md): Ceres 80 C and 6 A lines, Eros 223 C,
  // Apophis 291 C under two designations; mixed.obs has C lines of 433 in lines 10, 17, 18.
  const Case cases[] = {
      {"ceres.obs", "1", "CB", 80},      {"ceres.obs", "00001", "C", 80},
      {"ceres.obs", "1", "A", 6},        {"ceres.obs", "1", "CA", 86},
      {"eros.obs", "433", "CB", 223},    {"apophis.obs", "99942", "CB", 291},
      {"mixed.obs", "433", "CB", 3},     {"mixed.obs", "K03U11V", "CB", 0},
      {"mixed.obs", "K03U11V", "V", 1},  {"mixed.obs", "", "CB", 5},
      {"apophis.obs", "99942", "X", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.object + " " + c.types);
    EXPECT_EQ(read_observations(mpc_file(c.file), c.object, c.types).size(), c.count);
  }
}

TEST(ReadObservations, CmosLinesAreTakenByDefaultAndTheFilterIsTheCallers) {
  const std::string text = eros_line('B') + "\n" + eros_line('C') + "\n" + eros_line('A') +
                           "\n" + eros_line(' ') + "\n";
  const auto all = read_text(text, "433");
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].note2, 'B');
  EXPECT_EQ(all[1].note2, 'C');
  EXPECT_EQ(read_text(text, "433", "C").size(), 1u);
  EXPECT_EQ(read_text(text, "433", "B").size(), 1u);
  EXPECT_EQ(read_text(text, "433", "A ").size(), 2u);
  EXPECT_EQ(read_text(text, "433", "").size(), 0u);
}

TEST(ReadObservations, NameMatchesTheNumberOrTheDesignationNotASubstring) {
  std::string other = eros_line('C');
  other.replace(0, 5, "04433");
  const std::string text = eros_line('C') + "\n" + other + "\n";
  EXPECT_EQ(read_text(text, "433").size(), 1u);
  EXPECT_EQ(read_text(text, " 00433 ").size(), 1u);
  EXPECT_EQ(read_text(text, "4433").size(), 1u);
  EXPECT_EQ(read_text(text, "43").size(), 0u);
  EXPECT_EQ(read_text(text, "").size(), 2u);
}

TEST(ReadObservations, ShorterCoordinateFieldsAndSouthernZeroDegrees) {
  // Minutes with decimals and no seconds, as older lines write them; "-00 30" keeps its sign.
  std::string line = eros_line('C');
  line.replace(32, 24, "21 33.8     -00 30      ");
  const auto obs = read_text(line + "\n", "433");
  ASSERT_EQ(obs.size(), 1u);
  EXPECT_NEAR(obs[0].ra, (21 * 3600 + 33.8 * 60) * kSecondOfTime, kRadTol);
  EXPECT_NEAR(obs[0].dec, -30 * 60 * kArcsecond, kRadTol);
}

TEST(ReadObservations, BadFieldsThrowNamingTheirColumns) {
  struct Case {
    std::size_t column;  // 1-based column replaced
    const char* text;
    const char* columns;
  };
  const Case cases[] = {
      {36, "x", "columns 33-44"},   {40, "61", "columns 33-44"},  {48, "9", "columns 46-56"},
      {16, "20X6", "columns 16-32"}, {21, "13", "columns 16-32"}, {21, "02 30", "columns 16-32"},
      {33, "  ", "columns 33-44"},  {46, " 5", "columns 46-56"},
      {16, "2016 3004339306 1", "columns 16-32"},  // a month beyond any int
  };
  for (const Case& c : cases) {
    std::string line = eros_line('C');
    line.replace(c.column - 1, std::string(c.text).size(), c.text);
    SCOPED_TRACE(line);
    try {
      read_text(line + "\n", "433");
      ADD_FAILURE() << "no exception";
    } catch (const FieldError& e) {
      EXPECT_NE(std::string(e.what()).find(c.columns), std::string::npos) << e.what();
    }
  }
}

TEST(ReadObservations, MissingFileAndFailingStreamThrow) {
  TempDir dir;
  try {
    read_observations((dir.path() / "none.obs").string(), "433");
    ADD_FAILURE() << "no exception";
  } catch (const ObservationFileError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot open observation file"), std::string::npos);
  }
  EXPECT_THROW(read_observations(dir.path().string(), "433"), ObservationFileError);
  testing::FailingBuffer buffer(eros_line('C') + "\n");
  std::istream in(&buffer);
  EXPECT_THROW(read_observations(in, "433"), ObservationFileError);
}

}  // namespace
}  // namespace astro
