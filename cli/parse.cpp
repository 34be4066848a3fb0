// SPDX-License-Identifier: MIT
#include "cli/parse.hpp"

#include <date/date.h>
#include <date/tz.h>

#include <array>
#include <chrono>
#include <cmath>
#include <string>

#include "textio/reads.hpp"
#include "core/constants.hpp"

namespace astro::cli {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// The value of a run of decimal digits; the caller has checked they are digits and few.
int digits_value(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// A number of textio's grammar, or ParseError with the reason.
double real_or_throw(std::string_view item, const char* what) {
  double v = 0;
  if (item.empty() || !parse_real(item, v) || !std::isfinite(v))
    throw ParseError(std::string(what) + " is not a number");
  return v;
}

// The marks of degrees, minutes and seconds that may follow a field of an angle, in UTF-8
// or ASCII; which field each belongs to (0 degrees, 1 minutes, 2 seconds).
struct Mark {
  std::string_view text;
  int field;
};
constexpr std::array<Mark, 7> kMarks{{{"\xC2\xB0", 0},  // °
                                      {"\xC2\xBA", 0},  // º, often typed for °
                                      {"'", 1},
                                      {"\xE2\x80\xB2", 1},  // ′
                                      {"\"", 2},
                                      {"\xE2\x80\xB3", 2},  // ″
                                      {"''", 2}}};

// The mark at the start of s, longest first, or nullptr.
const Mark* mark_at(std::string_view s) {
  const Mark* best = nullptr;
  for (const Mark& m : kMarks)
    if (s.substr(0, m.text.size()) == m.text && (!best || m.text.size() > best->text.size()))
      best = &m;
  return best;
}

}  // namespace

double parse_angle(std::string_view text, AngleKind kind) {
  const bool lat = kind == AngleKind::latitude;
  std::string_view s = trim(text);
  if (s.empty()) throw ParseError("the value is empty");

  // Hemisphere letter at the end.
  int letter_sign = 0;
  const char last = s.back();
  const char upper = (last >= 'a' && last <= 'z') ? static_cast<char>(last - 32) : last;
  if (upper == 'N' || upper == 'S' || upper == 'E' || upper == 'W') {
    const bool fits = lat ? (upper == 'N' || upper == 'S') : (upper == 'E' || upper == 'W');
    if (!fits)
      throw ParseError(std::string("the letter ") + last + " is not a hemisphere of a " +
                       (lat ? "latitude (N or S)" : "longitude (E or W)"));
    letter_sign = (upper == 'S' || upper == 'W') ? -1 : 1;
    s.remove_suffix(1);
    s = trim(s);
  }

  // Sign.
  int sign = 0;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    sign = s.front() == '-' ? -1 : 1;
    s.remove_prefix(1);
  }
  if (sign != 0 && letter_sign != 0 && sign != letter_sign)
    throw ParseError("the sign and the hemisphere letter disagree");
  const bool negative = sign < 0 || letter_sign < 0;

  // Fields: numbers separated by a colon, blanks or marks.
  std::array<std::string, 3> fields;
  int count = 0;
  bool fraction_seen = false;
  int next_mark = 0;  // the first field whose mark may still come
  std::size_t i = 0;
  while (i < s.size()) {
    if (count == 3) throw ParseError("more than three fields (degrees, minutes, seconds)");
    if (fraction_seen) throw ParseError("only the last field may have a fraction");
    // One number: digits, optionally a point or a comma and more digits.
    const std::size_t start = i;
    while (i < s.size() && is_digit(s[i])) ++i;
    const std::size_t int_digits = i - start;
    std::string field(s.substr(start, int_digits));
    if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
      ++i;
      const std::size_t frac_start = i;
      while (i < s.size() && is_digit(s[i])) ++i;
      if (i == frac_start && (int_digits == 0 || s[frac_start - 1] == ','))
        throw ParseError("a decimal point or comma must stand between digits");
      field += '.';
      field += s.substr(frac_start, i - frac_start);
      fraction_seen = true;
    }
    if (field.empty()) {
      if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        throw ParseError("a sign may stand only in front of the degrees");
      throw ParseError("a field holds no digits");
    }
    fields[count++] = field;
    // The separator after it: blanks, then a colon or the field's mark, then blanks.
    const std::size_t sep_start = i;
    while (i < s.size() && is_blank(s[i])) ++i;
    bool marked = false;
    if (i < s.size() && s[i] == ':') {
      ++i;
      marked = true;
    } else if (const Mark* m = mark_at(s.substr(i))) {
      if (m->field != count - 1 || m->field < next_mark)
        throw ParseError("a degree, minute or second mark stands after the wrong field");
      next_mark = m->field + 1;
      i += m->text.size();
      marked = true;
    }
    while (i < s.size() && is_blank(s[i])) ++i;
    if (i < s.size() && i == sep_start)
      throw ParseError(std::string("unexpected character '") + s[i] + "'");
    if (i == s.size() && marked && s[i - 1] == ':')
      throw ParseError("a colon at the end with no field after it");
  }
  if (count == 0) throw ParseError("the value holds no digits");

  const double d = real_or_throw(fields[0], "the degrees");
  double deg = d;
  if (count >= 2) {
    const double m = real_or_throw(fields[1], "the minutes");
    if (!(m < 60)) throw ParseError("the minutes must lie below 60");
    deg = d + m / 60;
    if (count == 3) {
      const double sec = real_or_throw(fields[2], "the seconds");
      if (!(sec < 60)) throw ParseError("the seconds must lie below 60");
      deg = deg + sec / 3600;
    }
  }
  if (negative) deg = -deg;
  if (lat && !(deg >= -90 && deg <= 90))
    throw ParseError("a latitude must lie within [-90, 90] degrees");
  if (!lat && !(deg >= -180 && deg < 360))
    throw ParseError("a longitude must lie within [-180, 360) degrees, east positive");
  return deg * kDegToRad;
}

namespace {

// Checks that s[pos, pos + n) are digits and returns their value.
int fixed_digits(std::string_view s, std::size_t pos, std::size_t n, const char* what) {
  if (pos + n > s.size())
    throw ParseError(std::string(what) + " is missing or short: " + std::to_string(n) +
                     " digits wanted");
  for (std::size_t k = pos; k < pos + n; ++k)
    if (!is_digit(s[k]))
      throw ParseError(std::string(what) + " must be " + std::to_string(n) + " digits");
  return digits_value(s.substr(pos, n));
}

date::year_month_day calendar_date(std::string_view s) {
  const int y = fixed_digits(s, 0, 4, "the year");
  if (s.size() < 5 || s[4] != '-') throw ParseError("a '-' must follow the year (YYYY-MM-DD)");
  const int m = fixed_digits(s, 5, 2, "the month");
  if (s.size() < 8 || s[7] != '-') throw ParseError("a '-' must follow the month (YYYY-MM-DD)");
  const int d = fixed_digits(s, 8, 2, "the day");
  const date::year_month_day ymd{date::year{y}, date::month{static_cast<unsigned>(m)},
                                 date::day{static_cast<unsigned>(d)}};
  if (!ymd.ok()) throw ParseError("there is no such day in the calendar");
  return ymd;
}

}  // namespace

std::int64_t parse_date(std::string_view text) {
  const std::string_view s = trim(text);
  const date::year_month_day ymd = calendar_date(s);
  if (s.size() != 10) throw ParseError("a date alone is wanted, YYYY-MM-DD");
  return date::sys_days{ymd}.time_since_epoch().count();
}

double parse_time(std::string_view text, const date::time_zone* zone) {
  using std::chrono::hours;
  using std::chrono::milliseconds;
  using std::chrono::minutes;
  using std::chrono::seconds;
  const std::string_view s = trim(text);
  if (s.size() >= 3 && (s[0] == 'j' || s[0] == 'J') && (s[1] == 'd' || s[1] == 'D') &&
      s[2] == ':') {
    const double jd = real_or_throw(trim(s.substr(3)), "the Julian Date");
    if (!(jd >= kFirstJd && jd <= kLastJd))
      throw ParseError("the Julian Date must lie within the years 0000-9999 (1721059.5 to "
                       "5373484.5)");
    return jd;
  }

  const date::year_month_day ymd = calendar_date(s);
  std::size_t i = 10;
  int hh = 0, mm = 0, ss = 0, ms = 0;
  if (i < s.size() && (s[i] == 'T' || s[i] == 't' || s[i] == ' ')) {
    hh = fixed_digits(s, i + 1, 2, "the hour");
    if (s.size() <= i + 3 || s[i + 3] != ':') throw ParseError("a ':' must follow the hour");
    mm = fixed_digits(s, i + 4, 2, "the minute");
    i += 6;
    if (i < s.size() && s[i] == ':') {
      ss = fixed_digits(s, i + 1, 2, "the second");
      i += 3;
      if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
        std::size_t k = i + 1;
        while (k < s.size() && is_digit(s[k])) ++k;
        const std::size_t n = k - i - 1;
        if (n == 0) throw ParseError("a decimal point with no digits after it");
        if (n > 3) throw ParseError("at most three decimals of the second (milliseconds)");
        ms = digits_value(s.substr(i + 1, n));
        for (std::size_t p = n; p < 3; ++p) ms *= 10;
        i = k;
      }
    }
    if (hh > 23) throw ParseError("the hour must lie within 00-23");
    if (mm > 59) throw ParseError("the minute must lie within 00-59");
    if (ss > 59) throw ParseError("the second must lie within 00-59 (no leap seconds)");
  }

  const date::local_time<milliseconds> local =
      date::local_days{ymd} + hours{hh} + minutes{mm} + seconds{ss} + milliseconds{ms};
  date::sys_time<milliseconds> utc;
  if (i == s.size()) {
    if (zone == nullptr) {
      utc = date::sys_time<milliseconds>{local.time_since_epoch()};
    } else {
      const date::local_info info = zone->get_info(local);
      if (info.result == date::local_info::nonexistent)
        throw ParseError("this local time does not exist in " + zone->name() +
                         " (the clocks move forward over it); give an offset or another time");
      // Ambiguous: the first of the two periods, the earlier instant.
      utc = date::sys_time<milliseconds>{local.time_since_epoch()} - info.first.offset;
    }
  } else if ((s[i] == 'Z' || s[i] == 'z') && i + 1 == s.size()) {
    utc = date::sys_time<milliseconds>{local.time_since_epoch()};
  } else if (s[i] == '+' || s[i] == '-') {
    const int sign = s[i] == '-' ? -1 : 1;
    const int oh = fixed_digits(s, i + 1, 2, "the offset's hours");
    int om = 0;
    std::size_t k = i + 3;
    if (k < s.size()) {
      if (s[k] == ':') ++k;
      om = fixed_digits(s, k, 2, "the offset's minutes");
      k += 2;
    }
    if (k != s.size()) throw ParseError("unexpected text after the offset");
    if (oh > 23 || om > 59) throw ParseError("the offset must lie within -23:59 to +23:59");
    utc = date::sys_time<milliseconds>{local.time_since_epoch()} -
          sign * (hours{oh} + minutes{om});
  } else {
    throw ParseError(std::string("unexpected text '") + std::string(s.substr(i)) + "'");
  }
  const std::int64_t unix_ms = utc.time_since_epoch().count();
  if (unix_ms < kFirstUnixMs || unix_ms > kLastUnixMs)
    throw ParseError("the instant must lie within 0000-01-01T00:00Z to 9999-12-31T23:59:59.999Z");
  return jd_from_unix_ms(unix_ms);
}

namespace {

// A duration in days, refused beyond 10,000 years either way.
double within_bound(double days) {
  if (!(std::fabs(days) <= 3.7e6)) throw ParseError("the duration must lie within 10,000 years");
  return days;
}

}  // namespace

double parse_duration_days(std::string_view text) {
  const std::string_view s = trim(text);
  if (s.empty()) throw ParseError("the value is empty");
  if (s.find(':') != std::string_view::npos) {
    std::size_t i = 0;
    double sign = 1;
    if (s[0] == '+' || s[0] == '-') {
      sign = s[0] == '-' ? -1 : 1;
      i = 1;
    }
    std::size_t k = i;
    while (k < s.size() && is_digit(s[k])) ++k;
    if (k == i || k - i > 9) throw ParseError("the hours must be 1 to 9 digits");
    const double h = digits_value(s.substr(i, k - i));
    if (k >= s.size() || s[k] != ':') throw ParseError("a ':' must follow the hours");
    const int m = fixed_digits(s, k + 1, 2, "the minutes");
    if (m > 59) throw ParseError("the minutes must lie within 00-59");
    k += 3;
    double sec = 0;
    if (k < s.size()) {
      if (s[k] != ':') throw ParseError("a ':' must follow the minutes");
      const std::string_view rest = s.substr(k + 1);
      if (rest.size() < 2 || !is_digit(rest[0]) || !is_digit(rest[1]) ||
          (rest.size() > 2 && rest[2] != '.'))
        throw ParseError("the seconds must be two digits, optionally with decimals");
      sec = real_or_throw(rest, "the seconds");
      if (!(sec < 60)) throw ParseError("the seconds must lie below 60");
    }
    return within_bound(sign * ((h * 60 + m) * 60 + sec) / 86400.0);
  }
  struct Unit {
    std::string_view suffix;
    double per_day;
  };
  static constexpr std::array<Unit, 4> kUnits{{{"min", 1440}, {"s", 86400}, {"h", 24}, {"d", 1}}};
  for (const Unit& u : kUnits) {
    if (s.size() > u.suffix.size() && s.substr(s.size() - u.suffix.size()) == u.suffix) {
      const double v = real_or_throw(trim(s.substr(0, s.size() - u.suffix.size())), "the amount");
      return within_bound(v / u.per_day);
    }
  }
  throw ParseError("a unit s, min, h or d is wanted after the number");
}

std::int64_t parse_count(std::string_view text, std::int64_t max) {
  const std::string_view s = trim(text);
  if (s.empty()) throw ParseError("the value is empty");
  std::int64_t v = 0;
  for (char c : s) {
    if (!is_digit(c)) throw ParseError("a whole number of digits 0-9 is wanted");
    if (v > (max - (c - '0')) / 10) throw ParseError("at most " + std::to_string(max));
    v = v * 10 + (c - '0');
  }
  return v;
}

double parse_number(std::string_view text) { return real_or_throw(trim(text), "the value"); }

const date::time_zone* parse_zone(std::string_view text) {
  const std::string name(trim(text));
  if (name.empty()) throw ParseError("the zone name is empty");
  try {
    return date::locate_zone(name);
  } catch (const std::exception&) {
    throw ParseError("no such zone in the system's time-zone database (/usr/share/zoneinfo)");
  }
}

}  // namespace astro::cli
