// SPDX-License-Identifier: MIT
// astro: the Sun's position and events for a site, and catalogue objects' places, from the
// command line.
//
// Exit status: 0 done (and --help, --version); 1 the output could not be written; 2 the
// command line was refused (a message on standard error, nothing on standard output).
#include <csignal>
#include <iostream>

#include "cli/output.hpp"
#include "cli/run.hpp"

int main(int argc, char** argv) {
  // A closed pipe ends the program quietly, whatever the parent left the signal set to.
  std::signal(SIGPIPE, SIG_DFL);
  astro::cli::Output out(1);
  return astro::cli::run_command(argc, argv, out, std::cout, std::cerr);
}
