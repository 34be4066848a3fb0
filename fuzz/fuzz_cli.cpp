// SPDX-License-Identifier: MIT
// The astro command's whole entry point, run_command, on arbitrary argument vectors: the
// input split at its NUL bytes is argv[1..] (argv[0] is "astro"), so one input drives
// CLI11's reading of the line and every value reader of cli/parse.hpp behind it (angles,
// instants, durations, counts, zones). The rows go to a non-blocking pipe that this process
// empties after each run: a small output is written in full (status 0), a long series
// meets a full pipe and ends with status 1 after some 130 kB, so every input ends quickly.
// Findings besides crashes and sanitizer reports: a status other than 0, 1 or 2; a non-zero
// status with no message, or a message that is not whole lines; rows written for a refused
// command line (status 2).
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cli/output.hpp"
#include "cli/run.hpp"

namespace {

struct RowsPipe {
  int read_end = -1, write_end = -1;
  RowsPipe() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) __builtin_trap();
    read_end = fds[0];
    write_end = fds[1];
  }
  // Empties the pipe; returns the number of bytes that were in it.
  std::size_t drain() const {
    std::size_t total = 0;
    char buffer[1 << 16];
    for (;;) {
      const ssize_t n = read(read_end, buffer, sizeof buffer);
      if (n <= 0) return total;
      total += static_cast<std::size_t>(n);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const RowsPipe rows_pipe;
  std::vector<std::string> args{"astro"};
  args.emplace_back();
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);

  std::ostringstream text_out, err;
  int status = 0;
  {
    astro::cli::Output rows(rows_pipe.write_end);
    status = astro::cli::run_command(static_cast<int>(args.size()), argv.data(), rows, text_out,
                                     err);
  }
  const std::size_t written = rows_pipe.drain();
  const std::string message = err.str();
  if (status != 0 && status != 1 && status != 2) __builtin_trap();
  if (status != 0 && (message.empty() || message.back() != '\n')) __builtin_trap();
  if (status == 2 && written != 0) __builtin_trap();
  return 0;
}
