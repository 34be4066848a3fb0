// SPDX-License-Identifier: MIT
#include "catalog/text_file.hpp"

#include <filesystem>
#include <istream>
#include <ostream>

#include "textio/reads.hpp"

namespace astro::detail {

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

bool open_text_file(std::string_view file_name, std::ifstream& file, std::ostream& out) {
  const std::string name(file_name.substr(0, static_cast<std::size_t>(LENGTH(file_name))));
  std::error_code ec;
  // A directory opens on some systems and fails only at the first read: refuse it here. A
  // name holding a NUL byte names no file (the system would read it only up to the NUL).
  if (name.find('\0') == std::string::npos && !std::filesystem::is_directory(name, ec)) {
    file.open(name, std::ios::in | std::ios::binary);
  }
  if (file.is_open()) return true;
  out << " Cannot open file " << name << ".\n";
  return false;
}

}  // namespace astro::detail
