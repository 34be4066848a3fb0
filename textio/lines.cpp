// SPDX-License-Identifier: MIT
#include "textio/lines.hpp"

#include <istream>

namespace astro {

LineStatus read_record(std::istream& in, std::size_t width, std::string& record) {
  record.clear();
  std::size_t length = 0;
  char last = '\0';
  char ch = '\0';
  bool started = false;
  while (in.get(ch)) {
    started = true;
    if (ch == '\n') break;
    if (record.size() <= width) record += ch;
    ++length;
    last = ch;
  }
  if (in.bad()) return LineStatus::error;
  if (!started) return LineStatus::end;
  // A carriage return that ends the line is kept in the record only when the line is at
  // most width + 1 bytes long; a longer line loses it to the cut anyway.
  if (last == '\r' && length <= width + 1) record.pop_back();
  record.resize(width, ' ');
  return LineStatus::ok;
}

}  // namespace astro
