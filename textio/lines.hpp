// SPDX-License-Identifier: MIT
// Fixed-length line input, as the dialogue's answer buffers and the file readers' records
// take it.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace astro {

enum class LineStatus { ok, end, error };

// Reads one line of bytes into a buffer of `width` bytes.
//   record   written on ok: the line without its line feed and without one trailing
//            carriage return, then padded with blanks or cut to exactly `width` bytes
//   returns  ok; end when the stream is at its end before the first byte of a line; error
//            when the stream's badbit is set (a failed read, not the end of the file)
// Only the first width + 1 bytes of a line are kept, however long it is. A last line
// without a line feed is a line.
LineStatus read_record(std::istream& in, std::size_t width, std::string& record);

}  // namespace astro
