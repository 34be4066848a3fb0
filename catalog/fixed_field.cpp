// SPDX-License-Identifier: MIT
#include "catalog/fixed_field.hpp"

#include <string>

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

}  // namespace

FieldError::FieldError(std::string_view what, const RealField& field, std::string_view line)
    : std::runtime_error(describe(what, field, line)) {}

double read_real(std::string_view line, const RealField& field) {
  const std::string item = compact_field(line, field);
  if (item.empty()) return 0.0;
  double value = 0.0;
  if (!parse_real(place_point(item, field.decimals), value)) {
    throw FieldError("not a number", field, line);
  }
  return value;
}

}  // namespace astro
