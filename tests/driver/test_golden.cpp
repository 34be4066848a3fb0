// SPDX-License-Identifier: MIT
// Whole runs of the program: every <case>.in of tests/golden and of examples fed as the
// input must produce <case>.out beside it byte for byte, and end with the exit status that
// status.txt in the same folder gives for it (one line per case: "<case>.in STATUS").
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/program.hpp"

namespace astro {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

constexpr const char* kFolders[] = {"tests/golden", "examples"};

std::vector<fs::path> golden_inputs(const fs::path& dir) {
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".in") inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

// The status table of a folder: case file name to exit status; the status is the last word
// of its line.
std::map<std::string, int> status_table(const fs::path& dir) {
  std::map<std::string, int> statuses;
  std::istringstream lines(read_file(dir / "status.txt"));
  std::string line;
  while (std::getline(lines, line)) {
    const auto blank = line.rfind(' ');
    if (line.empty() || blank == std::string::npos) {
      ADD_FAILURE() << "malformed line in " << (dir / "status.txt") << ": '" << line << "'";
      continue;
    }
    statuses[line.substr(0, blank)] = std::stoi(line.substr(blank + 1));
  }
  return statuses;
}

TEST(Golden, EveryCaseMatchesByteForByteWithItsStatus) {
  std::size_t compared = 0;
  for (const char* folder : kFolders) {
    const fs::path dir = fs::path(ASTRO_SOURCE_DIR) / folder;
    const auto statuses = status_table(dir);
    const auto inputs = golden_inputs(dir);
    EXPECT_EQ(statuses.size(), inputs.size()) << "status.txt of " << folder << " has a stale or missing line";
    for (const auto& input : inputs) {
      SCOPED_TRACE(input.filename().string());
      fs::path expected_path = input;
      expected_path.replace_extension(".out");
      ASSERT_TRUE(fs::exists(expected_path));
      const auto status = statuses.find(input.filename().string());
      ASSERT_NE(status, statuses.end()) << "no line in status.txt";
      std::istringstream in(read_file(input));
      std::ostringstream out;
      EXPECT_EQ(run(in, out), status->second);
      EXPECT_EQ(out.str(), read_file(expected_path));
      ++compared;
    }
  }
  EXPECT_GE(compared, 10u);
}

}  // namespace
}  // namespace astro
