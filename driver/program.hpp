// SPDX-License-Identifier: MIT
// The whole program on given streams: dialogue, echo, table, closing read.
#pragma once

#include <iosfwd>

namespace astro {

// Exit statuses of the program; the output is the same whatever the status.
inline constexpr int kStatusComplete = 0;    // nine well-formed answers, the whole table
inline constexpr int kStatusWriteError = 1;  // the output could not be written
inline constexpr int kStatusBadInput = 2;    // a read failure or end of input in the dialogue,
                                             // a malformed text answer, or an instant out of range

// Runs the program once: reads the answers from in, writes prompts, messages, echo and
// table to out, then the closing prompt, and reads one closing line (end of input there is
// a normal end).
//   returns kStatusComplete when the nine answers were read and well formed and the table
//   was printed; kStatusBadInput when the dialogue ended on a read failure or end of input,
//   when a field reader reported a malformed text answer (the table still follows), or when
//   an instant was out of range; kStatusWriteError, before either, when out could not be
//   written.
int run(std::istream& in, std::ostream& out);

}  // namespace astro
