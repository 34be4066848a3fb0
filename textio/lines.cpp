// SPDX-License-Identifier: MIT
#include "textio/lines.hpp"

#include <algorithm>
#include <cstring>
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

namespace {

// One past the last line feed in [begin, end), or begin when there is none.
const char* after_last_line_feed(const char* begin, const char* end) {
  while (end != begin && end[-1] != '\n') --end;
  return end;
}

}  // namespace

BlockLines::BlockLines(std::istream& in, std::size_t width, std::size_t block)
    : in_(in), width_(width), buffer_(width + 1 + std::max<std::size_t>(block, 1)),
      record_(width, ' ') {}

// The record of a line of `length` bytes (line feed excluded), or of the first bytes of a
// longer line when length is width + 1: one trailing carriage return dropped, then padded
// with blanks or cut to the width (a line of more than width bytes is cut whether or not its
// carriage return is dropped).
std::string_view BlockLines::make_record(const char* line, std::size_t length) {
  if (length > 0 && line[length - 1] == '\r') --length;
  const std::size_t kept = std::min(length, width_);
  std::memcpy(record_.data(), line, kept);
  std::memset(record_.data() + kept, ' ', width_ - kept);
  return record_;
}

// Up to n bytes of what the stream holds in its own buffer, after a refill of that buffer
// when it is empty. The device is read only by peek (the stream's underflow), one buffer at
// a time, and the copy never reads it: so a failing read (badbit) loses no byte that came
// before it, as with reading byte by byte, where a read of many bytes that fails part way
// would report none of them. Sets eof_ or bad_ when nothing more can come.
std::size_t BlockLines::pull(char* to, std::size_t n) {
  using traits = std::istream::traits_type;
  if (traits::eq_int_type(in_.peek(), traits::eof())) {
    bad_ = in_.bad();
    eof_ = !bad_;
    return 0;
  }
  // The stream's buffer now holds at least one byte, and in_avail counts exactly those.
  const std::streamsize held = in_.rdbuf()->in_avail();
  const auto want = std::min(n, static_cast<std::size_t>(std::max<std::streamsize>(held, 1)));
  in_.read(to, static_cast<std::streamsize>(want));
  const auto got = static_cast<std::size_t>(in_.gcount());
  read_ += got;
  if (in_.bad()) bad_ = true;
  return got;
}

// Moves the unfinished line to the front and reads what fits behind it.
void BlockLines::read_more() {
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    stop_ = 0;
  }
  const char* first = buffer_.data() + end_;
  end_ += pull(buffer_.data() + end_, buffer_.size() - end_);
  const char* stop = after_last_line_feed(first, buffer_.data() + end_);
  if (stop != first) stop_ = static_cast<std::size_t>(stop - buffer_.data());
}

// A line that fills the whole buffer without a line feed: its first width + 1 bytes stay at
// the front, every later block of it is read into the space behind them and dropped, up to
// its line feed or the end of the stream.
LineStatus BlockLines::long_line(std::string_view& record) {
  const std::size_t keep = width_ + 1;
  for (;;) {
    end_ = keep;
    pos_ = keep;
    stop_ = 0;
    if (bad_) return LineStatus::error;
    if (eof_) {
      record = make_record(buffer_.data(), keep);
      return LineStatus::ok;
    }
    const std::size_t got = pull(buffer_.data() + keep, buffer_.size() - keep);
    const char* from = buffer_.data() + keep;
    const auto* lf = static_cast<const char*>(std::memchr(from, '\n', got));
    if (lf != nullptr) {
      end_ = keep + got;
      pos_ = static_cast<std::size_t>(lf - buffer_.data()) + 1;
      const char* stop = after_last_line_feed(from, buffer_.data() + end_);
      stop_ = static_cast<std::size_t>(stop - buffer_.data());
      record = make_record(buffer_.data(), keep);
      return LineStatus::ok;
    }
  }
}

LineStatus BlockLines::next(std::string_view& record) {
  for (;;) {
    if (pos_ < stop_) {
      const char* line = buffer_.data() + pos_;
      const auto* lf = static_cast<const char*>(std::memchr(line, '\n', stop_ - pos_));
      const auto length = static_cast<std::size_t>(lf - line);
      pos_ += length + 1;
      record = make_record(line, length);
      return LineStatus::ok;
    }
    // What is left, [pos_, end_), is the start of a line without its line feed.
    if (bad_) return LineStatus::error;
    if (eof_) {
      if (pos_ == end_) return LineStatus::end;
      record = make_record(buffer_.data() + pos_, std::min(end_ - pos_, width_ + 1));
      pos_ = end_;
      return LineStatus::ok;
    }
    if (pos_ == 0 && end_ == buffer_.size()) return long_line(record);
    read_more();
  }
}

LineStatus BlockLines::next_containing(std::string_view needle, std::size_t within,
                                       std::string_view& record) {
  if (needle.empty()) return next(record);
  while (pos_ < stop_) {
    const char* begin = buffer_.data() + pos_;
    const char* stop = buffer_.data() + stop_;
    const auto* hit = static_cast<const char*>(
        memmem(begin, static_cast<std::size_t>(stop - begin), needle.data(), needle.size()));
    if (hit == nullptr) {
      pos_ = stop_;
      break;
    }
    // The line that holds the first byte of the hit; a needle holding a line feed may run on
    // into the next line, and the caller's test rejects that line.
    const char* line = after_last_line_feed(begin, hit);
    const auto* lf = static_cast<const char*>(
        std::memchr(hit, '\n', static_cast<std::size_t>(stop - hit)));
    pos_ = static_cast<std::size_t>(lf - buffer_.data()) + 1;
    if (static_cast<std::size_t>(hit - line) + needle.size() <= within) {
      record = make_record(line, std::min(static_cast<std::size_t>(lf - line), width_ + 1));
      return LineStatus::ok;
    }
  }
  // The line that runs on past the last line feed read: taken whole, whatever it holds.
  return next(record);
}

}  // namespace astro
