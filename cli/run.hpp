// SPDX-License-Identifier: MIT
// The astro command as a call: the command line in, the exit status out, with the streams
// it writes to given by the caller (main() gives standard output and standard error; the
// fuzzer and tests give others).
#pragma once

#include <iosfwd>

#include "cli/output.hpp"

namespace astro::cli {

// Reads the command line argv[0..argc) (argv[0] the program's name), runs the chosen
// subcommand and returns the exit status: 0 done (and --help, --version); 1 the output
// could not be written; 2 the command line was refused.
//   rows      the subcommand's output (flushed before a status 0 is returned)
//   text_out  the text of --help and --version
//   err       every message, one line each, "astro SUBCOMMAND: ..." (CLI11's own for a line
//             it cannot read)
// Never calls exit(); a closed pipe under rows ends the process by SIGPIPE (see Output).
int run_command(int argc, const char* const* argv, Output& rows, std::ostream& text_out,
                std::ostream& err);

}  // namespace astro::cli
