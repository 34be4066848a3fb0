// SPDX-License-Identifier: MIT
// Whole runs of the program: every tests/golden/<case>.in fed as the input must produce
// tests/golden/<case>.out byte for byte, and end with status 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

std::vector<fs::path> golden_inputs() {
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(fs::path(ASTRO_SOURCE_DIR) / "tests" / "golden")) {
    if (entry.path().extension() == ".in") inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

TEST(Golden, EveryCaseMatchesByteForByte) {
  const auto inputs = golden_inputs();
  ASSERT_GE(inputs.size(), 10u);
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    fs::path expected_path = input;
    expected_path.replace_extension(".out");
    ASSERT_TRUE(fs::exists(expected_path));
    std::istringstream in(read_file(input));
    std::ostringstream out;
    EXPECT_EQ(run(in, out), 0);
    EXPECT_EQ(out.str(), read_file(expected_path));
  }
}

}  // namespace
}  // namespace astro
