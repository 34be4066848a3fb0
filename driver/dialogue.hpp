// SPDX-License-Identifier: MIT
// The parameter dialogue: nine prompts and answers, their conversion and the echo.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace astro {

// The nine answers as read: the five text answers in 80-byte blank-padded buffers
// (latitude, longitude, date, start time, time step), then four integers.
struct Answers {
  std::array<std::string, 5> text;
  std::int32_t nsteps = 0;
  std::int32_t precession = 0;
  std::int32_t nutation = 0;
  std::int32_t refraction = 0;
};

// The run parameters of one table.
struct RunParameters {
  double phi = 0;     // site latitude, radians, north positive
  double lambda = 0;  // site longitude, radians, east positive
  double jd0 = 0;     // Julian Date (UT) of the first row
  double dt = 0;      // step, days
  std::int32_t nsteps = 0;
  std::int32_t precession = 0;  // 1 applies the correction, anything else leaves it off
  std::int32_t nutation = 0;
  std::int32_t refraction = 0;
};

// Length of the answer and closing buffers, in bytes.
inline constexpr std::size_t kAnswerLength = 80;

// Writes the nine prompts and reads an answer after each. Lines starting with '#' before the
// first answer are skipped. On a read failure (end of input, or an integer answer that is
// not one) writes "# RIZAR: Chyba pri cteni vstupnich parametru na radku NN." and returns
// nothing. Output is flushed before every read, so a person sees each prompt first.
std::optional<Answers> read_answers(std::istream& in, std::ostream& out);

// Converts the answers: latitude, longitude and step through READS3, date and start time
// through READS_SPLIT3 and JD. Field readers' messages go to out. A date without a month
// (no slash) is itself the Julian Date. Throws RangeError, after all five conversions have
// run, when the date is out of JD's range.
//   well_formed  set to true when every field of the five text answers read, false when a
//                field reader wrote its failure line (the parameters then hold its zeros)
RunParameters convert_answers(const Answers& answers, std::ostream& out, bool& well_formed);

// The same, for a caller that needs no word on malformed answers.
RunParameters convert_answers(const Answers& answers, std::ostream& out);

// Writes the eight echo lines of the parameters.
void echo_parameters(const RunParameters& p, std::ostream& out);

}  // namespace astro
