// SPDX-License-Identifier: MIT
// File opening and the read-error line shared by the observation and catalogue readers (not
// part of the public headers); lines are read with read_record of textio/lines.hpp.
#pragma once

#include <fstream>
#include <iosfwd>
#include <string_view>

namespace astro::detail {

// The line a reader writes when a read fails for a reason other than the end of the file.
inline constexpr std::string_view kReadError = " Error reading input.";

// Opens a text file for reading as bytes.
//   file_name  used whole, its trailing blanks dropped
//   returns    true with `file` open; false after writing " Cannot open file NAME." to out
//              when the file is missing, unreadable or a directory, or the name holds a
//              NUL byte
bool open_text_file(std::string_view file_name, std::ifstream& file, std::ostream& out);

}  // namespace astro::detail
