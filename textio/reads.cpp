// SPDX-License-Identifier: MIT
#include "textio/reads.hpp"

#include <charconv>
#include <cmath>
#include <string>

#include "core/constants.hpp"

namespace astro {

namespace {

constexpr std::string_view kFailure = "reads: error reading input: ";

bool is_blank(char ch) { return ch == ' ' || ch == '\t'; }
bool ends_item(char ch) { return is_blank(ch) || ch == ',' || ch == '/'; }
bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

// An optional sign, then one digit or more, and nothing else.
bool is_sign_and_digits(std::string_view item) {
  const std::size_t sign = !item.empty() && (item.front() == '+' || item.front() == '-') ? 1 : 0;
  if (item.size() == sign) return false;
  for (std::size_t k = sign; k < item.size(); ++k) {
    if (!is_digit(item[k])) return false;
  }
  return true;
}

void report_failure(std::string_view text, std::ostream& out) {
  out << kFailure << text.substr(0, LENGTH(text)) << '\n';
}

// The fields of a text split at the separator: at most three; the third keeps any further
// separators. Splitting after the first separator stops at the significant length.
struct Fields {
  std::string_view part[3];
  int count = 1;
};

Fields split_fields(std::string_view text, std::string_view separator) {
  Fields f;
  const auto p1 = separator.empty() ? std::string_view::npos : text.find(separator.front());
  if (p1 == std::string_view::npos) {
    f.part[0] = text;
    return f;
  }
  const std::size_t n = static_cast<std::size_t>(LENGTH(text));
  const std::string_view rest = p1 + 1 < n ? text.substr(p1 + 1, n - (p1 + 1)) : std::string_view{};
  const auto p2 = rest.find(separator.front());
  f.part[0] = text.substr(0, p1);
  if (p2 == std::string_view::npos) {
    f.part[1] = rest;
    f.count = 2;
  } else {
    f.part[1] = rest.substr(0, p2);
    f.part[2] = rest.substr(p2 + 1);
    f.count = 3;
  }
  return f;
}

// Reads every field in order; false at the first that fails.
bool read_fields(const Fields& f, double (&d)[3]) {
  for (int j = 0; j < f.count; ++j) {
    if (!read_free_field(f.part[j], d[j])) return false;
  }
  return true;
}

// Decimal exponent of the first significant digit of a mantissa (digits with an optional
// point): 2 for "123.4", -3 for "0.001"; 0 when every digit is zero.
long long leading_exponent(std::string_view mantissa) {
  const auto first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return 0;
  const auto point = mantissa.find('.');
  const auto int_end = point == std::string_view::npos ? mantissa.size() : point;
  if (first < int_end) return static_cast<long long>(int_end - first) - 1;
  return -static_cast<long long>(first - point);
}

}  // namespace

std::int32_t LENGTH(std::string_view text) {
  for (std::size_t i = text.size(); i > 0; --i) {
    if (text[i - 1] != ' ') return static_cast<std::int32_t>(i);
  }
  return 0;
}

double SIGNUM(double x) { return x < 0 ? -1.0 : 1.0; }

char SIGNC(double x) { return x < 0 ? '-' : '+'; }

bool parse_real(std::string_view item, double& value) {
  std::size_t i = 0;
  const std::size_t n = item.size();
  const bool negative = i < n && item[i] == '-';
  if (i < n && (item[i] == '+' || item[i] == '-')) ++i;
  const std::size_t mantissa_begin = i;
  std::size_t digits = 0;
  while (i < n && is_digit(item[i])) ++i, ++digits;
  if (i < n && item[i] == '.') {
    ++i;
    while (i < n && is_digit(item[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  const std::string_view mantissa = item.substr(mantissa_begin, i - mantissa_begin);
  long long exponent = 0;
  if (i < n && (item[i] == 'E' || item[i] == 'e' || item[i] == 'D' || item[i] == 'd')) {
    ++i;
    bool exp_negative = false;
    if (i < n && (item[i] == '+' || item[i] == '-')) exp_negative = item[i++] == '-';
    std::size_t exp_digits = 0;
    while (i < n && is_digit(item[i])) {
      if (exponent < 100000000) exponent = exponent * 10 + (item[i] - '0');
      ++i, ++exp_digits;
    }
    if (exp_digits == 0) return false;
    if (exp_negative) exponent = -exponent;
  }
  if (i != n) return false;

  // from_chars takes no '+' and no D exponent: hand it the mantissa and the exponent value.
  std::string literal(mantissa);
  literal += 'e';
  literal += std::to_string(exponent);
  double magnitude = 0;
  const auto [ptr, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), magnitude);
  if (ec == std::errc::result_out_of_range) {
    // Out of range with a non-negative decimal exponent overflows; otherwise it underflows.
    if (leading_exponent(mantissa) + exponent >= 0) return false;
    magnitude = 0;
  } else if (ec != std::errc{} || ptr != literal.data() + literal.size()) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

bool read_free_field(std::string_view field, double& value) {
  std::size_t i = 0;
  while (i < field.size() && is_blank(field[i])) ++i;
  if (i == field.size()) return false;
  if (field[i] == ',' || field[i] == '/') {
    value = 0;
    return true;
  }
  std::size_t end = i;
  while (end < field.size() && !ends_item(field[end])) ++end;
  const std::string_view item = field.substr(i, end - i);
  // A decimal comma: an item of a sign and digits only, then a comma and a digit. The item
  // runs on to the next blank, tab, comma or slash, the comma read as a point.
  if (end + 1 < field.size() && field[end] == ',' && is_digit(field[end + 1]) &&
      is_sign_and_digits(item)) {
    std::size_t fraction_end = end + 1;
    while (fraction_end < field.size() && !ends_item(field[fraction_end])) ++fraction_end;
    std::string with_point(item);
    with_point += '.';
    with_point += field.substr(end + 1, fraction_end - (end + 1));
    return parse_real(with_point, value);
  }
  return parse_real(item, value);
}

bool read_sexagesimal(std::string_view text, std::string_view separator, double& value,
                      std::ostream& out) {
  const Fields f = split_fields(text, separator);
  double d[3] = {0, 0, 0};
  if (!read_fields(f, d)) {
    report_failure(text, out);
    value = 0.0;
    return false;
  }
  // The sign bit, not the comparison of SIGNUM: a first field of -0 makes the value negative.
  const double sign = std::signbit(d[0]) ? -1.0 : 1.0;
  switch (f.count) {
    case 1:
      value = d[0] * kDegToRad;
      break;
    case 2:
      value = sign * (std::fabs(d[0]) + d[1] / 60) * kDegToRad;
      break;
    default:
      value = sign * ((std::fabs(d[0]) + d[1] / 60) + d[2] / 3600) * kDegToRad;
      break;
  }
  return true;
}

bool read_split(std::string_view text, std::string_view separator, double& a, double& b,
                double& c, std::ostream& out) {
  const Fields f = split_fields(text, separator);
  double d[3] = {0, 0, 0};
  const bool ok = read_fields(f, d);
  if (!ok) {
    report_failure(text, out);
    d[0] = d[1] = d[2] = 0;
  }
  a = d[0];
  b = d[1];
  c = d[2];
  return ok;
}

std::string_view strip_comment(std::string_view text) {
  const auto i = text.find("/*");
  return i == std::string_view::npos ? text : text.substr(0, i + 1);
}

double READS2(std::string_view text, std::string_view separator, std::ostream& out) {
  double value = 0;
  read_sexagesimal(text, separator, value, out);
  return value;
}

double READS(std::string_view text, std::ostream& out) { return READS2(text, ":", out); }

double READS3(std::string_view text, std::ostream& out) { return READS(strip_comment(text), out); }

void READS_SPLIT(std::string_view text, std::string_view separator, double& a, double& b,
                 double& c, std::ostream& out) {
  read_split(text, separator, a, b, c, out);
}

void READS_SPLIT3(std::string_view text, std::string_view separator, double& a, double& b,
                  double& c, std::ostream& out) {
  READS_SPLIT(strip_comment(text), separator, a, b, c, out);
}

}  // namespace astro
