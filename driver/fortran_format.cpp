// SPDX-License-Identifier: MIT
#include "driver/fortran_format.hpp"

#include <charconv>
#include <cmath>
#include <string_view>

namespace astro {

namespace {

void put_right(std::string& line, std::string_view text, int w) {
  if (static_cast<int>(text.size()) > w) {
    line.append(static_cast<std::size_t>(w), '*');
    return;
  }
  line.append(static_cast<std::size_t>(w) - text.size(), ' ');
  line.append(text);
}

}  // namespace

void put_fixed(std::string& line, double x, int w, int d) {
  if (std::isnan(x)) return put_right(line, "NaN", w);
  if (std::isinf(x)) return put_right(line, x < 0 ? "-Inf" : "Inf", w);
  // 309 integer digits, a sign, a point and the decimals fit.
  char buffer[352];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, x, std::chars_format::fixed, d);
  if (result.ec != std::errc{}) {
    line.append(static_cast<std::size_t>(w), '*');
    return;
  }
  char* end = result.ptr;
  if (d == 0) *end++ = '.';
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  if (static_cast<int>(text.size()) > w) {
    // Drop the zero before the point of a value between -1 and 1 when that makes it fit.
    const bool negative = text.front() == '-';
    const std::size_t zero = negative ? 1 : 0;
    if (text.size() > zero + 1 && text[zero] == '0' && text[zero + 1] == '.' &&
        static_cast<int>(text.size()) - 1 <= w) {
      line.append(static_cast<std::size_t>(w) - (text.size() - 1), ' ');
      if (negative) line.push_back('-');
      line.append(text.substr(zero + 1));
      return;
    }
  }
  put_right(line, text, w);
}

void put_integer(std::string& line, long long v, int w) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  put_right(line, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)), w);
}

}  // namespace astro
