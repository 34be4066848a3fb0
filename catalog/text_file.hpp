// SPDX-License-Identifier: MIT
// Line input shared by the observation and catalogue readers (not part of the public
// headers).
#pragma once

#include <cstddef>
#include <fstream>
#include <iosfwd>
#include <string>
#include <string_view>

namespace astro::detail {

// The line a reader writes when a read fails for a reason other than the end of the file.
inline constexpr std::string_view kReadError = " Error reading input.";

enum class LineStatus { ok, end, error };

// Reads one line of bytes into a buffer of `width` bytes.
//   record   written on ok: the line without its line feed and without one trailing
//            carriage return, then padded with blanks or cut to exactly `width` bytes
//   returns  ok; end when the stream is at its end before the first byte of a line; error
//            when the stream's badbit is set (a failed read, not the end of the file)
// Only the first width + 1 bytes of a line are kept, however long it is. A last line
// without a line feed is a line.
LineStatus read_record(std::istream& in, std::size_t width, std::string& record);

// Opens a text file for reading as bytes.
//   file_name  used whole, its trailing blanks dropped
//   returns    true with `file` open; false after writing " Cannot open file NAME." to out
//              when the file is missing, unreadable or a directory, or the name holds a
//              NUL byte
bool open_text_file(std::string_view file_name, std::ifstream& file, std::ostream& out);

}  // namespace astro::detail
