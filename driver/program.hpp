// SPDX-License-Identifier: MIT
// The whole program on given streams: dialogue, echo, table, closing read.
#pragma once

#include <iosfwd>

namespace astro {

// Runs the program once: reads the answers from in, writes prompts, messages, echo and
// table to out, then the closing prompt, and reads one closing line.
//   returns 0 on every normal path (a read failure of the dialogue and an instant out of
//   range included), 1 when out could not be written.
int run(std::istream& in, std::ostream& out);

}  // namespace astro
