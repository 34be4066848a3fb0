// SPDX-License-Identifier: MIT
// Fixed-column tables for people: a two-line header (names, then units) and the writers
// that place a row's fields in their columns.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/output.hpp"

namespace astro::cli {

// Copies a text into the row.
inline char* put_literal(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

// Blanks after a field that began at column_start, up to width characters (at least one
// blank when the field fills the width).
inline char* pad_to(char* column_start, char* p, int width) {
  if (p - column_start >= width) {
    *p++ = ' ';
    return p;
  }
  while (p - column_start < width) *p++ = ' ';
  return p;
}

// v with the given decimals, right-aligned in width characters (wider when it needs more).
inline char* put_right(char* p, double v, int decimals, int width) {
  char field[64];
  char* end = put_fixed(field, v, decimals);
  const int n = static_cast<int>(end - field);
  for (int k = n; k < width; ++k) *p++ = ' ';
  std::memcpy(p, field, static_cast<std::size_t>(n));
  return p + n;
}

// The header of a table: each column's name above its unit, text columns left-aligned,
// number columns right-aligned in their widths.
class TableHeader {
 public:
  void text(std::string name, std::string unit, int width) {
    columns_.push_back({std::move(name), std::move(unit), width, false});
  }
  void number(std::string name, std::string unit, int width) {
    columns_.push_back({std::move(name), std::move(unit), width, true});
  }
  // A text wider than its column pushes the rest of its line by as much as it overflows,
  // and at least one blank separates it from the next column.
  void write(Output& out) const {
    for (int line = 0; line < 2; ++line) {
      std::string s;
      std::size_t start = 0;
      for (const Column& c : columns_) {
        const std::string& t = line == 0 ? c.name : c.unit;
        const std::size_t end = start + static_cast<std::size_t>(c.width);
        const std::size_t at = c.right ? (end > t.size() ? end - t.size() : 0) : start;
        if (s.size() < at) s.append(at - s.size(), ' ');
        else if (!s.empty() && !t.empty() && s.back() != ' ') s += ' ';
        s += t;
        start = end;
      }
      while (!s.empty() && s.back() == ' ') s.pop_back();
      s += '\n';
      out.put(s);
    }
  }

 private:
  struct Column {
    std::string name, unit;
    int width;
    bool right;
  };
  std::vector<Column> columns_;
};

}  // namespace astro::cli
