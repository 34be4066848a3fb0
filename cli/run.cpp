// SPDX-License-Identifier: MIT
#include "cli/run.hpp"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

#include "cli/command.hpp"
#include "cli/parse.hpp"
#include "core/errors.hpp"

#ifndef ASTRO_VERSION
#define ASTRO_VERSION "0"
#endif

namespace astro::cli {

int run_command(int argc, const char* const* argv, Output& rows, std::ostream& text_out,
                std::ostream& err) {
  CLI::App app{
      "astro: the Sun's position and events for a site, and the places of catalogue "
      "objects.\nExit status: 0 done; 1 output could not be written; 2 bad command line.",
      "astro"};
  app.set_version_flag("--version", std::string("astro ") + ASTRO_VERSION);
  app.footer(
      "Run astro SUBCOMMAND --help for its options. Values:\n"
      "  ANGLE     " + std::string(kAngleForms) + "\n"
      "  TIME      " + std::string(kTimeForms) + "\n"
      "  DATE      " + std::string(kDateForms) + "\n"
      "  DURATION  " + std::string(kDurationForms) + "\n"
      "  ZONE      an IANA time-zone name of the system's database (Europe/Prague, UTC)\n"
      "Series: row i is at jd = i * step + start; give exactly one of --count and --end "
      "(the end included).\n"
      "Formats: table for people; csv (a header line, then one line a row) and jsonl (one "
      "JSON object a line) with every number as the shortest text that reads back to the "
      "same double. See docs/astro.md.");
  app.require_subcommand(1);
  app.fallthrough(false);

  Action action;
  add_sun_command(app, action);
  add_events_command(app, action);
  add_ephemeris_command(app, action);
#ifdef ASTRO_HAVE_FIT
  add_orbit_command(app, action);
#endif

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version print to text_out with status 0; every other error goes to err with
    // status 2.
    const int code = app.exit(e, text_out, err);
    return code == 0 ? 0 : 2;
  }

  std::string name = "astro";
  for (const CLI::App* sub : app.get_subcommands()) name += " " + sub->get_name();
  try {
    const int status = action(rows);
    rows.flush();
    return status;
  } catch (const UsageError& e) {
    err << name << ": " << e.what() << "\n";
    return 2;
  } catch (const OutputError& e) {
    err << name << ": " << e.what() << "\n";
    return 1;
  } catch (const RangeError& e) {
    // An instant the library cannot place; the checks of the options should have refused it.
    try {
      rows.flush();
    } catch (const OutputError&) {
    }
    err << name << ": " << e.what() << "\n";
    return 2;
  }
}

}  // namespace astro::cli
