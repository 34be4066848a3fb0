// SPDX-License-Identifier: MIT
// The astro command's output: one buffer in front of a file descriptor, and the writers of
// numbers and instants that the rows are made of. A row is written straight into the buffer
// (reserve, write, commit); nothing of a row outlives it, so memory stays the same whatever
// the number of rows.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace date {
class time_zone;
}

namespace astro::cli {

// Output that could not be written (a full disk, an I/O error); the command ends with
// status 1. A closed pipe is not reported: the process ends by SIGPIPE, quietly.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A 64 KiB buffer written to a file descriptor with write(2) when it fills and on flush().
class Output {
 public:
  static constexpr std::size_t kCapacity = 1 << 16;
  // The most that one reserve() may ask for.
  static constexpr std::size_t kMaxRow = 4096;

  explicit Output(int fd = 1) : fd_(fd) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Room for n <= kMaxRow bytes at the returned pointer; commit() the end of what was put.
  char* reserve(std::size_t n) {
    if (kCapacity - used_ < n) drain();
    return buffer_.data() + used_;
  }
  void commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

  // Appends text; one of kCapacity bytes or more is written at once, after the buffer.
  void put(std::string_view text);
  // Writes out what is buffered; throws OutputError when the descriptor refuses it.
  void flush() { drain(); }

 private:
  void drain();
  void write_out(const char* data, std::size_t size);

  int fd_;
  std::size_t used_ = 0;
  std::array<char, kCapacity> buffer_;
};

// The shortest text that reads back to the same double, byte for byte what std::to_chars
// without a format writes: the shortest digits, in fixed notation unless scientific is
// shorter (fixed on a tie: 0.001, 1e-04, 123456, 1.2e+07, 0.000123, 1.5e-05), an exponent
// of at least two digits, "inf", "-nan", "-0"; at most 24 characters, but up to 40 bytes
// at p may be written. The digits come from {fmt} (Dragonbox), in less than two thirds of
// the time of libstdc++'s to_chars; finite values of magnitude 2^53 and above, zeros,
// infinities and NaNs go to std::to_chars itself (cli/shortest.cpp).
char* put_double(char* p, double v);

// v with a fixed number of decimals, rounded to nearest as printf does; the caller allows
// room for the integer digits, the point and the decimals.
inline char* put_fixed(char* p, double v, int decimals) {
  return std::to_chars(p, p + 64, v, std::chars_format::fixed, decimals).ptr;
}

// Milliseconds from 1970-01-01T00:00Z of a Julian Date (UT), rounded to the nearest: the
// day's whole part and its fraction are separated exactly before the fraction is scaled.
// Inverts jd_from_unix_ms (cli/parse.hpp) for every millisecond of the years 0000-9999.
std::int64_t unix_ms_from_jd(double jd);

// How an instant is written.
//   precision  3: to the millisecond; 0: rounded to the second
//   separator  between date and time: 'T' (ISO 8601) or ' ' (the tables)
//   offset     the zone's offset from UTC, seconds, added to the instant before it is
//              written; utc writes Z after the time, otherwise the offset follows as
//              +HH:MM (or +HH:MM:SS for the local mean times of the 19th century)
struct TimeStyle {
  int precision = 3;
  char separator = 'T';
  bool utc = true;
};

// Writes the civil date and time (proleptic Gregorian, date's civil_from_days) of an instant
// given as milliseconds from 1970-01-01T00:00Z, shifted by offset_s; at most 32 characters,
// and 32 bytes at p may be written. Years 0000-9999. The text of the last date written is
// kept (one per thread) and used again while the day is the same.
char* put_time(char* p, std::int64_t unix_ms, int offset_s, const TimeStyle& style);

// The offset from UTC of a zone at an instant, from the system's database; remembers the
// period of the last instant asked, so a series of instants looks the zone up once per
// daylight-saving period.
class ZoneClock {
 public:
  explicit ZoneClock(const date::time_zone* zone) : zone_(zone) {}
  int offset_s(std::int64_t unix_ms) {
    if (unix_ms < begin_ms_ || unix_ms >= end_ms_) look_up(unix_ms);
    return offset_s_;
  }
  const date::time_zone* zone() const { return zone_; }

 private:
  void look_up(std::int64_t unix_ms);

  const date::time_zone* zone_;
  std::int64_t begin_ms_ = 1;
  std::int64_t end_ms_ = 0;
  int offset_s_ = 0;
};

// The end of what the system's database says of a zone: a database compiled with
// transitions written out to 2037 (and date's reader does not extend them by the zone's
// rule) has a last period that begins in 2037 and runs for ever. For such a zone this gives
// 2038-01-01T00:00Z as milliseconds from 1970; local times from then on would be wrong.
// For a zone whose last change lies in the past (UTC, Asia/Tokyo) it gives INT64_MAX.
std::int64_t zone_known_until_ms(const date::time_zone* zone);

}  // namespace astro::cli
