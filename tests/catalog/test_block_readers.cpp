// SPDX-License-Identifier: MIT
// The readers by file name scan large blocks for the lines they may want; the readers on a
// stream read line by line. On the same bytes both must give the same results, messages and
// exceptions: checked here on files made from the real data lines, cut, lengthened, with CR,
// NUL and BEGIN lines, at block sizes that put line ends at every place around a boundary.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "catalog/file_scan.hpp"
#include "core/errors.hpp"
#include "file_fixtures.hpp"
#include "textio/lines.hpp"

namespace astro {
namespace {

using testing::catalogue_file;
using testing::mpc_file;
using testing::TempDir;

std::vector<std::string> lines_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// What a call did, in words: its output and its exception, if any.
template <class Call>
std::string outcome(Call call) {
  try {
    call();
    return "returned";
  } catch (const FieldError& e) {
    return std::string("FieldError: ") + e.what();
  } catch (const RangeError& e) {
    return std::string("RangeError: ") + e.what();
  } catch (const ObservationFileError& e) {
    return std::string("ObservationFileError: ") + e.what();
  }
}

// A file of real lines, each perhaps cut, lengthened to hundreds of bytes, given a CR or a
// NUL byte, with empty and BEGIN lines among them and sometimes no final line feed.
std::string random_file(std::mt19937& rng, const std::vector<std::string>& pool) {
  auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  std::string text;
  const int count = pick(40);
  for (int k = 0; k < count; ++k) {
    std::string line = pool[static_cast<std::size_t>(pick(static_cast<int>(pool.size())))];
    switch (pick(10)) {
      case 0: line.resize(static_cast<std::size_t>(pick(static_cast<int>(line.size()) + 1))); break;
      case 1: line += std::string(static_cast<std::size_t>(pick(600)), 'w'); break;
      case 2: line[static_cast<std::size_t>(pick(static_cast<int>(line.size())))] = '\0'; break;
      case 3: line = pick(2) == 0 ? "" : "BEGIN " + line.substr(0, 20); break;
      default: break;
    }
    text += line;
    if (pick(4) == 0) text += '\r';
    if (k + 1 < count || pick(2) == 0) text += '\n';
  }
  return text;
}

const std::size_t kBlocks[] = {1, 2, 7, 80, 81, 82, 133, 4096, BlockLines::kDefaultBlock};

TEST(BlockReaders, ObservationsByNameAsOnAStream) {
  std::vector<std::string> pool;
  for (const char* name : {"eros.obs", "ceres.obs", "apophis.obs", "mixed.obs"}) {
    for (auto& line : lines_of(mpc_file(name))) pool.push_back(line);
  }
  const char* names[] = {"00433", "433", "99942", "K04M04N", "", "   ", "0", "00001", "XQ123", "C2016"};
  TempDir dir;
  std::mt19937 rng(433);
  int faulty = 0;  // stream readings that threw: the exception paths are compared too
  for (int trial = 0; trial < 40; ++trial) {
    const std::string text = random_file(rng, pool);
    const std::string path = dir.write("obs.txt", text);
    for (const char* name : names) {
      std::vector<double> t1(50, -1), r1(50, -1), d1(50, -1);
      std::int32_t n1 = 50;
      std::ostringstream out1;
      std::istringstream in(text);
      const std::string want = outcome([&] { read_mpc_lines(in, name, t1, r1, d1, n1, out1); });
      faulty += want != "returned";
      for (const std::size_t block : kBlocks) {
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ", name \"" << name
                                          << "\", block " << block);
        std::vector<double> t2(50, -1), r2(50, -1), d2(50, -1);
        std::int32_t n2 = 50;
        std::ostringstream out2;
        EXPECT_EQ(outcome([&] {
                    detail::read_mpc_file(path, name, t2, r2, d2, n2, out2, block);
                  }),
                  want);
        EXPECT_EQ(n2, n1);
        EXPECT_EQ(t2, t1);
        EXPECT_EQ(r2, r1);
        EXPECT_EQ(d2, d1);
        EXPECT_EQ(out2.str(), out1.str());

        for (const std::string_view codes : {kDefaultNote2, std::string_view("CBAs")}) {
          std::vector<Observation> want_obs, got_obs;
          std::istringstream in_obs(text);
          EXPECT_EQ(outcome([&] {
                      got_obs = detail::read_observations_file(path, name, codes, block);
                    }),
                    outcome([&] { want_obs = read_observations(in_obs, name, codes); }));
          ASSERT_EQ(got_obs.size(), want_obs.size());
          for (std::size_t k = 0; k < want_obs.size(); ++k) {
            EXPECT_EQ(got_obs[k].designation, want_obs[k].designation);
            EXPECT_EQ(got_obs[k].jd_utc, want_obs[k].jd_utc);
            EXPECT_EQ(got_obs[k].ra, want_obs[k].ra);
            EXPECT_EQ(got_obs[k].dec, want_obs[k].dec);
            EXPECT_EQ(got_obs[k].note2, want_obs[k].note2);
            EXPECT_EQ(got_obs[k].observatory, want_obs[k].observatory);
          }
        }
      }
    }
  }
  EXPECT_GT(faulty, 0);
}

// A file of 80,000 real lines: the vector of matches grows past a thousand entries to the
// projected count (at most 64 times what it held), then once more, in new memory each time.
TEST(BlockReaders, ManyObservationsByNameAsOnAStream) {
  std::vector<std::string> pool;
  for (const char* name : {"eros.obs", "ceres.obs", "apophis.obs", "mixed.obs"}) {
    for (auto& line : lines_of(mpc_file(name))) pool.push_back(line);
  }
  std::mt19937 rng(80000);
  std::string text;
  for (int k = 0; k < 80000; ++k) {
    text += pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
    text += '\n';
  }
  TempDir dir;
  const std::string path = dir.write("many.obs", text);
  for (const char* name : {"", "433"}) {
    SCOPED_TRACE(name);
    std::istringstream in(text);
    const std::vector<Observation> want = read_observations(in, name, "CBA");
    const std::vector<Observation> got = read_observations(path, name, "CBA");
    ASSERT_EQ(got.size(), want.size());
    if (*name == '\0') {
      ASSERT_GT(got.size(), 65536u);
    }
    for (std::size_t k = 0; k < want.size(); ++k) {
      ASSERT_EQ(got[k].designation, want[k].designation) << k;
      ASSERT_EQ(got[k].jd_utc, want[k].jd_utc) << k;
      ASSERT_EQ(got[k].ra, want[k].ra) << k;
      ASSERT_EQ(got[k].dec, want[k].dec) << k;
      ASSERT_EQ(got[k].note2, want[k].note2) << k;
      ASSERT_EQ(got[k].observatory, want[k].observatory) << k;
    }
  }
}

TEST(BlockReaders, ElementsByNameAsOnAStream) {
  const std::vector<std::string> pool = lines_of(catalogue_file("elements.txt"));
  const char* names[] = {"1P", "Ceres", "00433", "", "P", "Tempel-Tuttle", "Vesta", "0"};
  TempDir dir;
  std::mt19937 rng(1);
  int faulty = 0;
  for (int trial = 0; trial < 60; ++trial) {
    const std::string text = random_file(rng, pool);
    const std::string path = dir.write("elements.txt", text);
    for (const char* name : names) {
      for (const std::int32_t n : {1, 2, 1000}) {
        ElementSet want_el{-1, -1, -1, -1, -1, -1};
        std::ostringstream out1;
        std::istringstream in(text);
        const std::string want = outcome([&] { read_elmts_lines(in, name, want_el, n, out1); });
        faulty += want != "returned";
        for (const std::size_t block : kBlocks) {
          SCOPED_TRACE(::testing::Message() << "trial " << trial << ", name \"" << name
                                            << "\", n " << n << ", block " << block);
          ElementSet el{-1, -1, -1, -1, -1, -1};
          std::ostringstream out2;
          EXPECT_EQ(outcome([&] { detail::read_elmts_file(path, name, el, n, out2, block); }), want);
          EXPECT_EQ(el, want_el);
          EXPECT_EQ(out2.str(), out1.str());
        }
      }
    }
  }
  EXPECT_GT(faulty, 0);
}

}  // namespace
}  // namespace astro
