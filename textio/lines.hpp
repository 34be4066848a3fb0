// SPDX-License-Identifier: MIT
// Fixed-length line input, as the dialogue's answer buffers and the file readers' records
// take it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

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

// The records of read_record, read from a stream in large blocks into one buffer of fixed
// size (width + 1 + block bytes, whatever the size of the file). Lines are found with
// memchr and memmem where they lie in the buffer; only the lines handed out are copied, each
// into a record of `width` bytes made as read_record makes it. A line longer than the buffer
// keeps its first width + 1 bytes and the rest of it is skipped block by block.
// Each read takes what the stream's own buffer holds (give a file stream a buffer of the
// block's size with pubsetbuf before opening it). The stream is read ahead: after the last
// record taken it stands anywhere up to a block further on, so this serves readers that own
// their stream (a file opened by name). A read error (badbit) is reported as read_record
// reports it: every line completed before the failure is handed out first, then error.
class BlockLines {
 public:
  static constexpr std::size_t kDefaultBlock = std::size_t{1} << 16;

  // block: the buffer's room beyond one record, at least 1 (0 counts as 1)
  BlockLines(std::istream& in, std::size_t width, std::size_t block = kDefaultBlock);

  // The next line as read_record gives it; `record` views a buffer of this object, valid
  // until the next call.
  LineStatus next(std::string_view& record);

  // Like next, but passes over lines whose first `within` bytes cannot hold `needle`: the
  // record given holds the needle within its first `within` columns, or it is a line that
  // met the end of a block, which the caller tests as it tests any line. A record holds the
  // bytes of the line in every column before its padding and before a dropped carriage
  // return, so a needle whose last byte is not a blank and which a record holds is also in
  // the line's bytes: the caller applies its own exact test to what it is given and loses
  // no line. An empty needle passes every line.
  LineStatus next_containing(std::string_view needle, std::size_t within,
                             std::string_view& record);

  // Bytes of the stream up to the end of the last line handed out.
  std::uint64_t bytes_taken() const { return read_ - (end_ - pos_); }

 private:
  std::string_view make_record(const char* line, std::size_t length);
  std::size_t pull(char* to, std::size_t n);
  void read_more();
  LineStatus long_line(std::string_view& record);

  std::istream& in_;
  std::size_t width_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;   // first byte not yet handed out, always the start of a line
  std::size_t stop_ = 0;  // one past the last line feed in the buffer (0 when none)
  std::size_t end_ = 0;   // one past the last byte read
  std::uint64_t read_ = 0;  // bytes read from the stream in all
  bool eof_ = false;
  bool bad_ = false;
  std::string record_;
};

// The interface of BlockLines over read_record, one line per read, for a stream the caller
// owns: it is left just past the last line taken. next_containing passes every line.
class StreamLines {
 public:
  StreamLines(std::istream& in, std::size_t width) : in_(in), width_(width) {}

  LineStatus next(std::string_view& record) {
    const LineStatus status = read_record(in_, width_, line_);
    record = line_;
    return status;
  }
  LineStatus next_containing(std::string_view, std::size_t, std::string_view& record) {
    return next(record);
  }

 private:
  std::istream& in_;
  std::size_t width_;
  std::string line_;
};

}  // namespace astro
