// SPDX-License-Identifier: MIT
#include "driver/program.hpp"

#include <istream>
#include <ostream>
#include <string>

#include "driver/dialogue.hpp"
#include "driver/table.hpp"
#include "textio/lines.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Writes the closing prompt and waits for one line; end of input ends it quietly too.
void close_run(std::istream& in, std::ostream& out) {
  out << "# stiskni Enter pro ukonceni\n";
  out.flush();
  std::string line;
  read_record(in, kAnswerLength, line);
}

}  // namespace

int run(std::istream& in, std::ostream& out) {
  int status = kStatusBadInput;
  if (const auto answers = read_answers(in, out)) {
    try {
      bool well_formed = false;
      const RunParameters parameters = convert_answers(*answers, out, well_formed);
      echo_parameters(parameters, out);
      write_table(parameters, out);
      if (well_formed) status = kStatusComplete;
    } catch (const RangeError&) {
      out << "# RIZAR: Okamzik mimo podporovany rozsah.\n";
    }
  }
  close_run(in, out);
  return out ? status : kStatusWriteError;
}

}  // namespace astro
