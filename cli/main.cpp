// SPDX-License-Identifier: MIT
// astro: the Sun's position and events for a site, and catalogue objects' places, from the
// command line.
//
// Exit status: 0 done (and --help, --version); 1 the output could not be written; 2 the
// command line was refused (a message on standard error, nothing on standard output).
#include <CLI/CLI.hpp>

#include <csignal>
#include <exception>
#include <iostream>
#include <string>

#include "cli/command.hpp"
#include "cli/output.hpp"
#include "cli/parse.hpp"
#include "core/errors.hpp"

#ifndef ASTRO_VERSION
#define ASTRO_VERSION "0"
#endif

int main(int argc, char** argv) {
  // A closed pipe ends the program quietly, whatever the parent left the signal set to.
  std::signal(SIGPIPE, SIG_DFL);

  CLI::App app{
      "astro: the Sun's position and events for a site, and the places of catalogue "
      "objects.\nExit status: 0 done; 1 output could not be written; 2 bad command line.",
      "astro"};
  app.set_version_flag("--version", std::string("astro ") + ASTRO_VERSION);
  app.footer(
      "Run astro SUBCOMMAND --help for its options. Values:\n"
      "  ANGLE     " + std::string(astro::cli::kAngleForms) + "\n"
      "  TIME      " + std::string(astro::cli::kTimeForms) + "\n"
      "  DATE      " + std::string(astro::cli::kDateForms) + "\n"
      "  DURATION  " + std::string(astro::cli::kDurationForms) + "\n"
      "  ZONE      an IANA time-zone name of the system's database (Europe/Prague, UTC)\n"
      "Series: row i is at jd = i * step + start; give exactly one of --count and --end "
      "(the end included).\n"
      "Formats: table for people; csv (a header line, then one line a row) and jsonl (one "
      "JSON object a line) with every number as the shortest text that reads back to the "
      "same double. See docs/astro.md.");
  app.require_subcommand(1);
  app.fallthrough(false);

  astro::cli::Action action;
  astro::cli::add_sun_command(app, action);
  astro::cli::add_events_command(app, action);
  astro::cli::add_ephemeris_command(app, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version print to standard output with status 0; every other error goes to
    // standard error with status 2.
    const int code = app.exit(e, std::cout, std::cerr);
    return code == 0 ? 0 : 2;
  }

  std::string name = "astro";
  for (const CLI::App* sub : app.get_subcommands()) name += " " + sub->get_name();
  astro::cli::Output out(1);
  try {
    const int status = action(out);
    out.flush();
    return status;
  } catch (const astro::cli::UsageError& e) {
    std::cerr << name << ": " << e.what() << "\n";
    return 2;
  } catch (const astro::cli::OutputError& e) {
    std::cerr << name << ": " << e.what() << "\n";
    return 1;
  } catch (const astro::RangeError& e) {
    // An instant the library cannot place; the checks of the options should have refused it.
    try {
      out.flush();
    } catch (const astro::cli::OutputError&) {
    }
    std::cerr << name << ": " << e.what() << "\n";
    return 2;
  }
}
