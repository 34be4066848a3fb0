// SPDX-License-Identifier: MIT
// File opening and the read-error line shared by the observation and catalogue readers (not
// part of the public headers); lines are read with BlockLines of textio/lines.hpp from a
// file opened by name and with StreamLines from a stream the caller hands in.
#pragma once

#include <cstddef>
#include <fstream>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace astro::detail {

// The line a reader writes when a read fails for a reason other than the end of the file.
inline constexpr std::string_view kReadError = " Error reading input.";

// Opens a text file for reading as bytes.
//   file_name  used whole, its trailing blanks dropped
//   returns    true with `file` open; false after writing " Cannot open file NAME." to out
//              when the file is missing, unreadable or a directory, or the name holds a
//              NUL byte
bool open_text_file(std::string_view file_name, std::ifstream& file, std::ostream& out);

// A file stream whose buffer holds `block` bytes (at least 4096), so that BlockLines reads
// the device a block at a time; open it with open_text_file.
struct BlockFile {
  explicit BlockFile(std::size_t block) : space(block < 4096 ? 4096 : block) {
    file.rdbuf()->pubsetbuf(space.data(), static_cast<std::streamsize>(space.size()));
  }
  std::vector<char> space;  // declared first: it outlives the stream that reads into it
  std::ifstream file;
};

}  // namespace astro::detail
