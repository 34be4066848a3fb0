// SPDX-License-Identifier: MIT
// Fixtures for the file readers' tests: the real data files, a per-test temporary
// directory, a stream whose device fails, and a count of the open file descriptors.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>

#include "tests/support/support.hpp"

namespace astro::testing {

// An observation file of data/mpc (eros.obs, ceres.obs, apophis.obs, mixed.obs).
inline std::string mpc_file(std::string_view name) {
  return support::data_file("mpc/" + std::string(name));
}

// A file of data/catalogue (elements.txt, sources.txt).
inline std::string catalogue_file(std::string_view name) {
  return support::data_file("catalogue/" + std::string(name));
}

// A directory of its own for the running test, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("astro-catalog-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
             info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes the bytes to the named file in the directory; returns its path.
  std::string write(std::string_view name, std::string_view bytes) const {
    const auto file = path_ / std::string(name);
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

using support::FailingBuffer;

// Open file descriptors of this process (Linux /proc); -1 where that cannot be seen.
inline int open_descriptors() {
  std::error_code ec;
  std::filesystem::directory_iterator it("/proc/self/fd", ec);
  if (ec) return -1;
  int count = 0;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) ++count;
  return count;
}

}  // namespace astro::testing
