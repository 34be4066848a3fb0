// SPDX-License-Identifier: MIT
#include "cli/output.hpp"

#include <date/date.h>
#include <date/tz.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstring>
#include <string>

namespace astro::cli {

void Output::put(std::string_view text) {
  if (text.size() >= kCapacity) {
    // A large text (a block of rows made on another thread) goes out as it stands, after
    // what is buffered, without passing through the buffer.
    drain();
    write_out(text.data(), text.size());
    return;
  }
  while (!text.empty()) {
    if (used_ == kCapacity) drain();
    const std::size_t n = std::min(text.size(), kCapacity - used_);
    std::memcpy(buffer_.data() + used_, text.data(), n);
    used_ += n;
    text.remove_prefix(n);
  }
}

void Output::drain() {
  const std::size_t n = used_;
  used_ = 0;
  write_out(buffer_.data(), n);
}

void Output::write_out(const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EPIPE) {
        // The reader went away and SIGPIPE was ignored by whoever started us: end the
        // way the default action would, quietly.
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
      }
      throw OutputError(std::string("cannot write standard output: ") + std::strerror(errno));
    }
    done += static_cast<std::size_t>(n);
  }
}

std::int64_t unix_ms_from_jd(double jd) {
  const double whole = std::floor(jd);
  const double fraction = jd - whole;  // exact: a double less its floor is representable
  const std::int64_t day = static_cast<std::int64_t>(whole);
  return (day - 2440587) * 86400000 - 43200000 + std::llround(fraction * 86400000.0);
}

namespace {

char* put2(char* p, unsigned v) {
  p[0] = static_cast<char>('0' + v / 10);
  p[1] = static_cast<char>('0' + v % 10);
  return p + 2;
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

char* put_time(char* p, std::int64_t unix_ms, int offset_s, const TimeStyle& style) {
  std::int64_t t = unix_ms + static_cast<std::int64_t>(offset_s) * 1000;
  if (style.precision == 0) t = floor_div(t + 500, 1000) * 1000;
  const std::int64_t days = floor_div(t, 86400000);
  std::int64_t ms = t - days * 86400000;
  // The date's text is kept, one per thread, for the day last written: a series writes most
  // of its instants on the day of the instant before.
  struct DateText {
    std::int64_t days = INT64_MIN;
    char text[16] = {};  // "YYYY-MM-DD", or "-YYYY-MM-DD" before the year 0
    int length = 0;
  };
  thread_local DateText date_text;
  if (days != date_text.days) {
    const date::year_month_day ymd{
        date::sys_days{date::days{static_cast<date::days::rep>(days)}}};
    const int year = static_cast<int>(ymd.year());
    const unsigned y = static_cast<unsigned>(year < 0 ? -year : year);
    char* d = date_text.text;
    if (year < 0) *d++ = '-';
    d = put2(d, y / 100 % 100);
    d = put2(d, y % 100);
    *d++ = '-';
    d = put2(d, static_cast<unsigned>(ymd.month()));
    *d++ = '-';
    d = put2(d, static_cast<unsigned>(ymd.day()));
    date_text.length = static_cast<int>(d - date_text.text);
    date_text.days = days;
  }
  std::memcpy(p, date_text.text, sizeof date_text.text);
  p += date_text.length;
  *p++ = style.separator;
  const unsigned msd = static_cast<unsigned>(ms);
  p = put2(p, msd / 3600000);
  *p++ = ':';
  p = put2(p, msd / 60000 % 60);
  *p++ = ':';
  p = put2(p, msd / 1000 % 60);
  if (style.precision == 3) {
    const unsigned f = msd % 1000;
    *p++ = '.';
    *p++ = static_cast<char>('0' + f / 100);
    p = put2(p, f % 100);
  }
  if (style.utc) {
    *p++ = 'Z';
  } else {
    const unsigned a = static_cast<unsigned>(offset_s < 0 ? -offset_s : offset_s);
    *p++ = offset_s < 0 ? '-' : '+';
    p = put2(p, a / 3600);
    *p++ = ':';
    p = put2(p, a / 60 % 60);
    if (a % 60 != 0) {
      *p++ = ':';
      p = put2(p, a % 60);
    }
  }
  return p;
}

void ZoneClock::look_up(std::int64_t unix_ms) {
  using std::chrono::milliseconds;
  using std::chrono::seconds;
  const date::sys_seconds at{seconds{floor_div(unix_ms, 1000)}};
  const date::sys_info info = zone_->get_info(at);
  offset_s_ = static_cast<int>(info.offset.count());
  // The period's ends, kept away from the extremes of the 64-bit millisecond count.
  const auto to_ms = [](date::sys_seconds s) {
    const std::int64_t v = s.time_since_epoch().count();
    if (v >= INT64_MAX / 1000) return INT64_MAX;
    if (v <= INT64_MIN / 1000) return INT64_MIN;
    return v * 1000;
  };
  begin_ms_ = to_ms(info.begin);
  end_ms_ = to_ms(info.end);
}

std::int64_t zone_known_until_ms(const date::time_zone* zone) {
  using namespace date::literals;
  const date::sys_info last = zone->get_info(date::sys_days{9999_y / 1 / 1});
  if (last.begin >= date::sys_days{2037_y / 1 / 1})
    return date::sys_days{2038_y / 1 / 1}.time_since_epoch().count() * 86400000LL;
  return INT64_MAX;
}

}  // namespace astro::cli
