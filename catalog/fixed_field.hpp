// SPDX-License-Identifier: MIT
// Numbers read from fixed columns of a file line (the "real w.d" field form of the
// observation and catalogue records).
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace astro {

// A numeric field of a fixed-column line: `width` columns from `column` (1-based), read
// with `decimals` implied decimals. The field may sit at the front of a wider slot; the
// columns of the slot after the field are never read.
struct RealField {
  std::size_t column;
  std::size_t width;
  int decimals;
};

// Raised for a field of a file line that does not hold a number, and for a decoded value
// that the line cannot stand for (a semi-major axis of zero or less). The message names the
// columns as "columns A-B" and quotes the line up to its last non-blank character.
class FieldError : public std::runtime_error {
 public:
  FieldError(std::string_view what, const RealField& field, std::string_view line);
};

// Reads a real w.d field of a line.
//   line     the record; columns past its end count as blanks, so a short line reads as if
//            padded with blanks
//   field    columns and implied decimals
//   returns  the number. Blanks (code 32 only) are dropped wherever they stand; an all-blank
//            field is 0. What remains must be one number of parse_real's grammar (sign,
//            digits with an optional point, optional E/e/D/d exponent). Without a decimal
//            point the last `decimals` digits of the mantissa are decimals, with leading
//            zeros implied ("1234567" in 9.7 is 0.1234567); an exponent then scales that
//            value, so "12345E2" in 7.2 reads as 123.45E2 = 12345. A point in the field
//            overrides `decimals` ("1.5" in 9.7 is 1.5).
// Throws FieldError for anything else: a letter, a tab or any other byte, a lone sign, an
// exponent without digits, a value too large for a double. An underflow reads as 0.
double read_real(std::string_view line, const RealField& field);

}  // namespace astro
