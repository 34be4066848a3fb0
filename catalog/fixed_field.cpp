// SPDX-License-Identifier: MIT
#include "catalog/fixed_field.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "catalog/decimal.hpp"
#include "textio/reads.hpp"

namespace astro {

namespace {

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

std::string describe(std::string_view what, const RealField& field, std::string_view line) {
  std::string text(what);
  text += " in columns " + std::to_string(field.column) + "-" +
          std::to_string(field.column + field.width - 1) + " of line \"";
  text += line.substr(0, static_cast<std::size_t>(LENGTH(line)));
  text += '"';
  return text;
}

// The columns of the field that the line holds, blanks dropped.
std::string compact_field(std::string_view line, const RealField& field) {
  std::string item;
  const std::size_t begin = field.column - 1;
  for (std::size_t i = begin; i < begin + field.width && i < line.size(); ++i) {
    if (line[i] != ' ') item += line[i];
  }
  return item;
}

// The item with the implied decimal point put into its mantissa: the last `decimals` digits
// of the leading digit run become the fraction, zeros filling in front as needed. Items with
// a point anywhere, or with no leading digit run, are left as they are for the grammar to
// judge; inserting a point changes nothing about whether the rest of the item is valid.
std::string place_point(std::string item, int decimals) {
  if (decimals <= 0 || item.find('.') != std::string::npos) return item;
  const std::size_t digits_begin = (item[0] == '+' || item[0] == '-') ? 1 : 0;
  std::size_t digits_end = digits_begin;
  while (digits_end < item.size() && is_digit(item[digits_end])) ++digits_end;
  const std::size_t digits = digits_end - digits_begin;
  if (digits == 0) return item;
  const auto d = static_cast<std::size_t>(decimals);
  if (digits < d) {
    item.insert(digits_begin, d - digits, '0');
    digits_end += d - digits;
  }
  item.insert(digits_end - d, 1, '.');
  return item;
}

// The common field by integer arithmetic: blanks anywhere, an optional sign first, then at
// most 15 digits with at most one point, no exponent. The digits make an integer m and the
// decimals (the digits after the point, or the implied ones) a count k, and m / 10^k is
// the double nearest the decimal value, the same that parse_real gives (catalog/decimal.hpp).
// Returns false, leaving `value` alone, for any other field; read_real then takes the
// general way, which also words every error.
bool read_plain_decimal(std::string_view line, const RealField& field, double& value) {
  const std::size_t begin = field.column - 1;
  const std::size_t end = std::min(begin + field.width, line.size());
  bool negative = false;
  bool sign_allowed = true;
  bool point = false;
  std::size_t digits = 0;
  std::size_t decimals = 0;
  std::int64_t m = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char ch = line[i];
    if (ch == ' ') continue;
    if (is_digit(ch)) {
      if (++digits > detail::kExactDigits) return false;
      m = m * 10 + (ch - '0');
      if (point) ++decimals;
    } else if (ch == '.' && !point) {
      point = true;
    } else if ((ch == '+' || ch == '-') && sign_allowed) {
      negative = ch == '-';
    } else {
      return false;
    }
    sign_allowed = false;
  }
  if (digits == 0) return false;  // all blank, or only a sign or a point: the general way
  if (!point && field.decimals > 0) decimals = static_cast<std::size_t>(field.decimals);
  if (decimals >= std::size(detail::kExactTens)) return false;
  const double magnitude = detail::scaled_decimal(m, decimals);
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

FieldError::FieldError(std::string_view what, const RealField& field, std::string_view line)
    : std::runtime_error(describe(what, field, line)) {}

double read_real(std::string_view line, const RealField& field) {
  double value = 0.0;
  if (read_plain_decimal(line, field, value)) return value;
  const std::string item = compact_field(line, field);
  if (item.empty()) return 0.0;
  if (!parse_real(place_point(item, field.decimals), value)) {
    throw FieldError("not a number", field, line);
  }
  return value;
}

}  // namespace astro
