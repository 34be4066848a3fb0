// SPDX-License-Identifier: MIT
// Runs a program with arguments and optional standard input and collects its standard
// output, standard error and exit status.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace astro::cli::testing {

struct RunResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

inline std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

inline RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                             const std::string& input = "") {
  char out_name[] = "/tmp/astro_test_outXXXXXX";
  char err_name[] = "/tmp/astro_test_errXXXXXX";
  char in_name[] = "/tmp/astro_test_inXXXXXX";
  const int out_fd = mkstemp(out_name);
  const int err_fd = mkstemp(err_name);
  const int in_fd = mkstemp(in_name);
  if (write(in_fd, input.data(), input.size()) != static_cast<ssize_t>(input.size())) return {};
  lseek(in_fd, 0, SEEK_SET);
  RunResult r;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  close(out_fd);
  close(err_fd);
  close(in_fd);
  r.out = slurp(out_name);
  r.err = slurp(err_name);
  std::remove(out_name);
  std::remove(err_name);
  std::remove(in_name);
  return r;
}

inline RunResult run_astro(const std::vector<std::string>& args) {
  return run_program(ASTRO_CLI_PATH, args);
}

// The lines of a text, without their line feeds.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The comma-separated fields of a csv line (no quoting: the command never quotes).
inline std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  for (;;) {
    const auto comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return fields;
}

}  // namespace astro::cli::testing
