// SPDX-License-Identifier: MIT
// The observation reader on the copied MPC files, on column-exact line literals and on
// tiny temporary files for what only a file shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/fixed_field.hpp"
#include "catalog/observations.hpp"
#include "core/constants.hpp"
#include "file_fixtures.hpp"

namespace astro {
namespace {

using testing::mpc_file;
using testing::TempDir;

constexpr double kDayTol = 1e-8;    // about 1 ms on a Julian Date near 2.45e6
constexpr double kRadTol = 1e-12;   // the angles are exact to rounding
constexpr std::size_t kRoom = 400;  // more than any file holds

// The observations a reader returned.
struct Result {
  std::vector<double> times, ra, dec;
  std::int32_t n = 0;
  std::string out;
};

Result read_file(const std::string& file, std::string_view object, std::int32_t n = kRoom) {
  Result r{std::vector<double>(kRoom), std::vector<double>(kRoom), std::vector<double>(kRoom), n,
           ""};
  std::ostringstream out;
  READ_MPC(file, object, r.times, r.ra, r.dec, r.n, out);
  r.out = out.str();
  return r;
}

Result read_text(const std::string& text, std::string_view object, std::int32_t n = kRoom) {
  std::istringstream in(text);
  Result r{std::vector<double>(kRoom), std::vector<double>(kRoom), std::vector<double>(kRoom), n,
           ""};
  std::ostringstream out;
  read_mpc_lines(in, object, r.times, r.ra, r.dec, r.n, out);
  r.out = out.str();
  return r;
}

// One 80-column record: designation in columns 1-12, type in 15, date in 16-32, right
// ascension in 33-44, declination (sign first) in 45-56, the rest blank.
std::string mpc_line(std::string_view designation, char type, std::string_view date,
                     std::string_view ra, std::string_view dec) {
  std::string line(80, ' ');
  line.replace(0, designation.size(), designation);
  line[14] = type;
  line.replace(15, date.size(), date);
  line.replace(32, ra.size(), ra);
  line.replace(44, dec.size(), dec);
  return line + '\n';
}

std::string eros_line(char type = 'C', std::string_view designation = "00433") {
  return mpc_line(designation, type, "2016 03 12.09307", "20 02 33.69", "-25 45 26.1");
}

// ---------------------------------------------------------------------------------------
// Real files.

struct FileCase {
  const char* file;
  const char* object;
  std::int32_t count;  // lines with "C" in column 15 whose columns 1-12 hold the object
};

// Counts of the CCD lines, from the data README and a count of column 15 in each file.
const FileCase kFiles[] = {
    {"eros.obs", "00433", 223},  {"ceres.obs", "00001", 80}, {"apophis.obs", "99942", 291},
    {"mixed.obs", "433", 3},     {"mixed.obs", "00001", 1},  {"mixed.obs", "99942", 1},
    {"mixed.obs", "K03U11V", 0}, {"eros.obs", "00001", 0},
};

TEST(READ_MPC, RealFilesCountOnlyTheObjectsCcdLines) {
  for (const auto& c : kFiles) {
    SCOPED_TRACE(std::string(c.file) + " " + c.object);
    const Result r = read_file(mpc_file(c.file), c.object);
    EXPECT_EQ(r.n, c.count);
    EXPECT_EQ(r.out, "");
  }
}

struct RecordCase {
  const char* label;
  const char* file;
  const char* object;
  int index;  // entry, from 0 in file order
  double jd, ra, dec;
};

// Julian Dates of the dates written in the records (day to 5 decimals: a sixth decimal is
// not read), from the proleptic Gregorian day count; the angles by hand with the reader's
// constants, ((s/3600 + m/60) + h)/12 * 3.1415926535 and ((s/3600 + m/60) + d) * 0.017453292.
const RecordCase kRecords[] = {
    {"Eros first, south", "eros.obs", "00433", 0, 2457459.59307, 5.2471644080305, -0.4495488053670},
    {"Eros, day 18.351626", "eros.obs", "00433", 138, 2457557.85162, 5.9245746872645,
     -0.1453607120493},
    {"Eros last", "eros.obs", "00433", 222, 2457605.37591, 5.8431776214975, -0.0372414466187},
    {"Ceres first CCD, north", "ceres.obs", "00001", 0, 2456645.53664, 3.4901996277397,
     0.0391753683350},
    {"Ceres last", "ceres.obs", "00001", 79, 2456925.44071, 3.9280838293190, -0.2470431064277},
    {"Apophis after the X line, RA 29.677 s", "apophis.obs", "99942", 6, 2453175.67015,
     2.5503383711266, 0.2323744386849},
    {"Apophis last CCD before the radar", "apophis.obs", "99942", 290, 2454475.16508,
     4.2637673676686, -0.3722954929129},
    {"mixed, Eros 1993", "mixed.obs", "433", 0, 2449260.34946, 5.1649543097202, -0.2504111069700},
    {"mixed, Eros 2016", "mixed.obs", "433", 2, 2457526.57059, 5.7914126103259, -0.2451736649290},
    {"mixed, Ceres", "mixed.obs", "00001", 0, 2456851.68926, 3.5604665834230, -0.0489215774760},
};

TEST(READ_MPC, RealRecordsDecodeToTheirValues) {
  for (const auto& c : kRecords) {
    SCOPED_TRACE(c.label);
    const Result r = read_file(mpc_file(c.file), c.object);
    ASSERT_GT(r.n, c.index);
    EXPECT_NEAR(r.times[c.index], c.jd, kDayTol);
    EXPECT_NEAR(r.ra[c.index], c.ra, kRadTol);
    EXPECT_NEAR(r.dec[c.index], c.dec, kRadTol);
  }
}

// ---------------------------------------------------------------------------------------
// Selection of lines.

TEST(READ_MPC, OnlyCInColumn15IsTaken) {
  for (const char type : {' ', 'c', 'P', 'X', 'S', 's', 'A', 'B', 'M', 'R', '\t'}) {
    SCOPED_TRACE(std::string("type '") + type + "'");
    EXPECT_EQ(read_text(eros_line(type) + eros_line(type), "00433").n, 0);
  }
  EXPECT_EQ(read_text(eros_line('X') + eros_line('C') + eros_line(' '), "00433").n, 1);
}

struct MatchCase {
  const char* label;
  const char* designation;  // columns 1-12 (13 and more for the last case)
  const char* object;
  bool matches;
};

// The significant part of the first 7 characters of the name, as a plain substring that
// must lie within columns 1-12.
const MatchCase kMatches[] = {
    {"exact", "00433", "00433", true},
    {"short name inside a longer number", "04433", "433", true},
    {"short name, other digits around", "04330", "433", true},
    {"number and provisional designation", "99942K04M04N", "99942", true},
    {"provisional part alone", "99942K04M04N", "K04M04N", true},
    {"ends in column 12", "         433", "433", true},
    {"would end in column 13", "          433", "433", false},
    {"trailing blanks of the name dropped", "00433", "00433   ", true},
    {"8th character and beyond not used", "00433", "00433  Eros", true},
    {"7 characters must appear whole", "     K03U11", "K03U11V", false},
    {"other object", "00001", "00433", false},
    {"case-sensitive", "     K03U11V", "k03u11v", false},
    {"all-blank name matches every CCD line", "00001", "       ", true},
    {"empty name matches every CCD line", "00433", "", true},
};

TEST(READ_MPC, NameIsASubstringOfColumns1To12) {
  for (const auto& c : kMatches) {
    SCOPED_TRACE(c.label);
    const std::string line =
        mpc_line(c.designation, 'C', "2016 03 12.09307", "20 02 33.69", "-25 45 26.1");
    EXPECT_EQ(read_text(line, c.object).n, c.matches ? 1 : 0);
  }
}

// ---------------------------------------------------------------------------------------
// Decoding of the fields.

struct DecodeCase {
  const char* label;
  const char* date;
  const char* ra;
  const char* dec;
  double jd, ra_rad, dec_rad;
};

// By hand: 2016-03-15.0 is JD 2457462.5 and 2016-01-15.0 is JD 2457402.5; 0.5 degrees *
// 0.017453292 = 0.008726646; 36 seconds are 0.01 hours or 0.01 degrees.
const DecodeCase kDecodes[] = {
    {"a sixth decimal of the day is not read", "2016 03 15.123456", "12 00 00.00", "+90 00 00.0",
     2457462.62345, 3.1415926535, 1.57079628},
    {"five decimals of the day", "2016 03 15.12345", "12 00 00.009", "+90 00 00.00", 2457462.62345,
     3.1415926535, 1.57079628},
    {"a day without a point has 5 decimals", "2016 03 1512345", "12 00 00.00", "+90", 2457462.62345,
     3.1415926535, 1.57079628},
    {"minus with 00 degrees keeps the sign", "2016 03 15.0", "00 00 00", "-00 30 00.0", 2457462.5,
     0.0, -0.008726646},
    {"plus sign is north", "2016 03 15.0", "00 00 00", "+00 30 00.0", 2457462.5, 0.0, 0.008726646},
    {"blank sign is north", "2016 03 15.0", "00 00 00", " 00 30 00.0", 2457462.5, 0.0, 0.008726646},
    {"any other sign character is north", "2016 03 15.0", "00 00 00", "x00 30 00.0", 2457462.5, 0.0,
     0.008726646},
    {"seconds without a point have 2 decimals", "2016 03 15.0", "00 00 3600", "-00 00 3600",
     2457462.5, 0.01 / 12 * 3.1415926535, -0.01 * 0.017453292},
    {"no range test: month 13, 75 minutes", "2015 13 15.0", "00 75 00.00", "+00 75 00.0", 2457402.5,
     1.25 / 12 * 3.1415926535, 1.25 * 0.017453292},
};

TEST(READ_MPC, FieldsDecodeByHandValues) {
  for (const auto& c : kDecodes) {
    SCOPED_TRACE(c.label);
    const Result r = read_text(mpc_line("00433", 'C', c.date, c.ra, c.dec), "00433");
    ASSERT_EQ(r.n, 1);
    EXPECT_NEAR(r.times[0], c.jd, kDayTol);
    EXPECT_NEAR(r.ra[0], c.ra_rad, kRadTol);
    EXPECT_NEAR(r.dec[0], c.dec_rad, kRadTol);
  }
}

TEST(READ_MPC, TwelveHoursIsTheProgramsPi) {
  const Result r = read_text(mpc_line("00433", 'C', "2016 03 15.0", "12 00 00.00", "+00"), "433");
  ASSERT_EQ(r.n, 1);
  EXPECT_EQ(r.ra[0], kPi);
}

TEST(READ_MPC, LetterInAnAcceptedLineThrowsNamingTheColumns) {
  const std::string bad = mpc_line("00433", 'C', "2016 03 12.09307", "20 02 3x.69", "-25 45 26.1");
  const std::string text = eros_line() + eros_line() + bad + eros_line();
  std::istringstream in(text);
  std::vector<double> t(4), ra(4), dec(4);
  std::int32_t n = 4;
  try {
    read_mpc_lines(in, "00433", t, ra, dec, n);
    FAIL() << "no exception";
  } catch (const FieldError& e) {
    EXPECT_NE(std::string(e.what()).find("columns 39-43"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("3x.69"), std::string::npos) << e.what();
  }
  EXPECT_EQ(n, 2);  // the observations stored before the faulty line, not the capacity
}

TEST(READ_MPC, LettersInSkippedLinesAreNotRead) {
  const std::string bad = mpc_line("00433", 'X', "yyyy mm dd.ddddd", "hh mm ss.ss", "-dd mm ss.s");
  const std::string other = mpc_line("00001", 'C', "yyyy mm dd.ddddd", "hh mm ss.ss", "+dd");
  EXPECT_EQ(read_text(bad + other + eros_line(), "00433").n, 1);
}

// ---------------------------------------------------------------------------------------
// Capacity.

TEST(READ_MPC, CapacityOfZeroOrLessReadsNothing) {
  for (const std::int32_t n : {0, -1, -2147483647 - 1}) {
    SCOPED_TRACE(n);
    std::istringstream in(eros_line());
    std::vector<double> t(1, -1.0), ra(1, -1.0), dec(1, -1.0);
    std::int32_t k = n;
    read_mpc_lines(in, "00433", t, ra, dec, k);
    EXPECT_EQ(k, 0);
    EXPECT_EQ(in.tellg(), 0);  // no line read
    EXPECT_EQ(t[0], -1.0);
  }
}

TEST(READ_MPC, StopsAfterTheNthObservationAndLeavesTheRestUnread) {
  const std::string third =
      mpc_line("00433", 'C', "2016 03 13.00000", "20 02 33.69", "-25 45 26.1");
  std::istringstream in(eros_line() + eros_line() + third);
  std::vector<double> t(3, -1.0), ra(3), dec(3);
  std::int32_t n = 2;
  read_mpc_lines(in, "00433", t, ra, dec, n);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(t[2], -1.0);
  std::string next;
  std::getline(in, next);
  EXPECT_EQ(next + '\n', third);
}

// A capacity larger than the arrays is cut to the shortest of them: nothing is written
// past their ends.
TEST(READ_MPC, CapacityNeverExceedsTheArrays) {
  std::vector<double> t(4, -1.0), ra(4, -1.0), dec(4, -1.0);
  std::int32_t n = 100;
  std::istringstream in(eros_line() + eros_line() + eros_line() + eros_line());
  read_mpc_lines(in, "00433", std::span(t).first(3), std::span(ra).first(2),
                 std::span(dec).first(3), n);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(t[2], -1.0);
  EXPECT_EQ(ra[2], -1.0);
  EXPECT_EQ(dec[2], -1.0);
}

// ---------------------------------------------------------------------------------------
// File-level behaviour.

TEST(READ_MPC, FileThatCannotBeOpened) {
  TempDir dir;
  const std::string missing = (dir.path() / "missing.obs").string();
  // A name with a NUL byte would open the file named by the part before it.
  const std::string with_nul = dir.write("real.obs", eros_line()) + std::string("\0.old", 5);
  struct Case {
    const char* label;
    std::string name;
    std::int32_t n;
  };
  const Case cases[] = {{"missing", missing, 5},
                        {"missing, n = 0: opened first", missing, 0},
                        {"a directory", dir.path().string(), 5},
                        {"empty name", "", 5},
                        {"name holding a NUL byte", with_nul, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Result r = read_file(c.name, "00433", c.n);
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(r.out, " Cannot open file " + c.name + ".\n");
  }
}

TEST(READ_MPC, FileNameUsedWholeWithoutTrailingBlanks) {
  TempDir dir;
  const std::string name = "observations_of_433_eros_with_a_long_name.obs";  // 45 characters
  const std::string path = dir.write(name, eros_line() + eros_line());
  ASSERT_GT(path.size(), 30u);
  Result r = read_file(path + "     ", "00433");
  EXPECT_EQ(r.n, 2);
  EXPECT_EQ(r.out, "");
  r = read_file(path.substr(0, 30), "00433");
  EXPECT_EQ(r.n, 0);
  EXPECT_EQ(r.out, " Cannot open file " + path.substr(0, 30) + ".\n");
}

// The file is closed on every return, and each call starts again from its first line.
TEST(READ_MPC, ClosedOnEveryPathAndReadAgainFromTheStart) {
  TempDir dir;
  const std::string good = dir.write("good.obs", eros_line() + eros_line() + eros_line());
  const std::string bad =
      dir.write("bad.obs", eros_line() + mpc_line("00433", 'C', "2016 03 1?", "20 02 33", "+00"));
  const int before = testing::open_descriptors();
  EXPECT_EQ(read_file(good, "00433", 2).n, 2);
  EXPECT_EQ(read_file(good, "00433", 2).n, 2);
  EXPECT_EQ(read_file(good, "00433", 0).n, 0);
  EXPECT_EQ(read_file(good, "00433").n, 3);
  EXPECT_THROW(read_file(bad, "00433"), FieldError);
  EXPECT_EQ(testing::open_descriptors(), before);
}

TEST(READ_MPC, ReadErrorReturnsTheObservationsStored) {
  testing::FailingBuffer buffer(eros_line() + "12345");
  std::istream in(&buffer);
  std::vector<double> t(5), ra(5), dec(5);
  std::int32_t n = 5;
  std::ostringstream out;
  read_mpc_lines(in, "00433", t, ra, dec, n, out);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(out.str(), " Error reading input.\n");
  EXPECT_NEAR(t[0], 2457459.59307, kDayTol);
}

// A file that opens but cannot be read: the process's own memory map reads with an I/O
// error at address 0.
TEST(READ_MPC, ReadErrorOfAFile) {
  const std::string mem = "/proc/self/mem";
  if (!std::filesystem::exists(mem)) GTEST_SKIP() << "no " << mem;
  const Result r = read_file(mem, "00433", 3);
  EXPECT_EQ(r.n, 0);
  EXPECT_EQ(r.out, " Error reading input.\n");
}

}  // namespace
}  // namespace astro
