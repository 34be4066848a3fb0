// SPDX-License-Identifier: MIT
// Hostile input for both file readers: empty and odd files, very long lines, every byte
// value, CRLF line ends. Nothing may crash or read out of bounds (the
// sanitizer build runs these too); a faulty accepted line throws FieldError.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/elements.hpp"
#include "catalog/fixed_field.hpp"
#include "catalog/observations.hpp"
#include "file_fixtures.hpp"

namespace astro {
namespace {

using testing::catalogue_file;
using testing::mpc_file;
using testing::TempDir;

// ---------------------------------------------------------------------------------------
// Odd files, given to both readers.

const std::string kErosObs =
    "00433         C2016 03 12.09307 20 02 33.69 -25 45 26.1          15.2 Ro~1oexK95";
const std::string kErosElements =
    "00433 Eros                          1.4578454 .2226554 10.82826 304.31681 178.79852 M225.84280 2458276.5";

std::string every_byte(int times) {
  std::string bytes;
  for (int t = 0; t < times; ++t) {
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  }
  return bytes;
}

struct OddFile {
  const char* label;
  std::string bytes;
  std::int32_t observations;  // READ_MPC with "00433"
  bool elements_found;        // READ_ELMTS with "00433" (the first line is the header; the
                              // element line stands before the observation, which also
                              // carries "00433 " and would not decode)
};

const OddFile kOddFiles[] = {
    {"empty file", "", 0, false},
    {"lines of 0 characters", "\n\n\n\n", 0, false},
    {"no line feed at all", kErosObs, 1, false},
    {"lines of 10,000 characters",
     std::string(10'000, 'H') + "\n" + kErosElements +
         std::string(10'000 - kErosElements.size(), '7') + "\n" + kErosObs +
         std::string(10'000 - kErosObs.size(), '9') + "\n",
     1, true},
    {"bytes 0 to 255, three times", every_byte(3), 0, false},
    {"CRLF line ends", "header\r\n" + kErosElements + "\r\n" + kErosObs + "\r\n", 1, true},
};

TEST(HostileFiles, OddFilesGiveOrdinaryResults) {
  TempDir dir;
  for (const auto& c : kOddFiles) {
    SCOPED_TRACE(c.label);
    const std::string path = dir.write("odd.txt", c.bytes);
    std::vector<double> t(4), ra(4), dec(4);
    std::int32_t n = 4;
    std::ostringstream out;
    READ_MPC(path, "00433", t, ra, dec, n, out);
    EXPECT_EQ(n, c.observations);
    if (n == 1) {
      EXPECT_NEAR(t[0], 2457459.59307, 1e-8);
    }
    ElementSet el{-1, -1, -1, -1, -1, -1};
    READ_ELMTS(path, "00433", el, 1, out);
    EXPECT_EQ(el[element::a] == 1.4578454, c.elements_found);
    EXPECT_EQ(out.str(), "");
  }
}

// A CR that would stand inside a field if it were kept: the record after the line end is
// the same as without it.
TEST(HostileFiles, CrlfInsideAFieldColumn) {
  TempDir dir;
  const std::string obs = kErosObs.substr(0, 53);  // ends with "26" in Dec seconds 52-56
  const std::string halley =
      "1P Halley                          17.9278172 .9679428 162.1879  59.11448 112.25779 8602 8.648";
  for (const char* end : {"\n", "\r\n"}) {
    SCOPED_TRACE(end[0] == '\r' ? "CRLF" : "LF");
    const std::string path =
        dir.write("f.txt", "header" + std::string(end) + obs + end + halley + end);
    std::vector<double> t(2), ra(2), dec(2);
    std::int32_t n = 2;
    READ_MPC(path, "00433", t, ra, dec, n);
    ASSERT_EQ(n, 1);
    EXPECT_NEAR(dec[0], -((0.26 / 3600.0 + 45 / 60.0) + 25) * 0.017453292, 1e-12);
    ElementSet el{};
    READ_ELMTS(path, "1P", el, 1);
    EXPECT_EQ(el[element::a], 17.9278172);
  }
}

TEST(HostileFiles, RealFilesWithCrlfReadAsWithLf) {
  TempDir dir;
  for (const char* name : {"eros.obs", "apophis.obs", "elements.txt"}) {
    SCOPED_TRACE(name);
    const bool obs = std::string(name) != "elements.txt";
    const std::string original = obs ? mpc_file(name) : catalogue_file(name);
    std::ifstream in(original, std::ios::binary);
    std::string crlf;
    for (std::string line; std::getline(in, line);) crlf += line + "\r\n";
    const std::string path = dir.write(name, crlf);
    const char* object = obs ? (std::string(name) == "eros.obs" ? "00433" : "99942") : "00001";
    if (obs) {
      std::vector<double> t1(400), r1(400), d1(400), t2(400), r2(400), d2(400);
      std::int32_t n1 = 400, n2 = 400;
      READ_MPC(original, object, t1, r1, d1, n1);
      READ_MPC(path, object, t2, r2, d2, n2);
      EXPECT_EQ(n1, n2);
      EXPECT_EQ(t1, t2);
      EXPECT_EQ(r1, r2);
      EXPECT_EQ(d1, d2);
    } else {
      for (const char* comet : {"1P", "23P", "55P", "Ceres"}) {
        ElementSet lf{}, cr{};
        READ_ELMTS(original, comet, lf, 2);
        READ_ELMTS(path, comet, cr, 2);
        EXPECT_EQ(lf, cr) << comet;
      }
    }
  }
}

// Every byte value filling a whole line: the observation reader takes it only for "C" (and
// then the fields are letters); the element reader with a blank name matches it only for
// the blank (and then a is 0). Either way FieldError, never anything else.
TEST(HostileFiles, EveryByteValueFillingALine) {
  for (int b = 0; b < 256; ++b) {
    if (b == '\n') continue;
    SCOPED_TRACE(b);
    const std::string line(200, static_cast<char>(b));
    {
      std::istringstream in(line + "\n");
      std::vector<double> t(2), ra(2), dec(2);
      std::int32_t n = 2;
      if (b == 'C') {
        EXPECT_THROW(read_mpc_lines(in, "", t, ra, dec, n), FieldError);
      } else {
        read_mpc_lines(in, "", t, ra, dec, n);
      }
      EXPECT_EQ(n, 0);
    }
    {
      std::istringstream in("header\n" + line + "\n");
      ElementSet el{-1, -1, -1, -1, -1, -1};
      if (b == ' ') {
        EXPECT_THROW(read_elmts_lines(in, "", el, 1), FieldError);
      } else {
        read_elmts_lines(in, "", el, 1);
      }
      EXPECT_EQ(el[element::a], -1);
    }
  }
}

// A letter in each numeric field of an accepted line: the exception names that field.
TEST(HostileFiles, LetterInEachNumericField) {
  struct Case {
    std::size_t column;  // where the letter goes
    const char* columns;
  };
  const Case obs_cases[] = {{17, "columns 16-19"}, {22, "columns 21-22"}, {30, "columns 24-31"},
                            {34, "columns 33-34"}, {37, "columns 36-37"}, {40, "columns 39-43"},
                            {47, "columns 46-47"}, {50, "columns 49-50"}, {55, "columns 52-56"}};
  for (const auto& c : obs_cases) {
    SCOPED_TRACE(c.columns);
    std::string line = kErosObs;
    line[c.column - 1] = 'Q';
    std::istringstream in(line + "\n");
    std::vector<double> t(1), ra(1), dec(1);
    std::int32_t n = 1;
    try {
      read_mpc_lines(in, "00433", t, ra, dec, n);
      ADD_FAILURE() << "no exception";
    } catch (const FieldError& e) {
      EXPECT_NE(std::string(e.what()).find(c.columns), std::string::npos) << e.what();
    }
    EXPECT_EQ(n, 0);
  }
}

}  // namespace
}  // namespace astro
