// SPDX-License-Identifier: MIT
#include "driver/fortran_format.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
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

__extension__ typedef unsigned __int128 uint128;  // the GCC and Clang 128-bit integer

constexpr std::uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                                    100000, 1000000, 10000000, 100000000, 1000000000};

// Writes |x| rounded to d decimals as printf's "%.*f" would (the exact binary value, an
// exact tie to even), without the sign, for |x| < 2^63 and d <= 9: x = m 2^e exactly, so
// round(|x| 10^d) is found in 128-bit integers. Returns the end of the text.
char* exact_fixed(char* out, double x, int d) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e = biased - 1075;
  if (biased == 0) {
    e = -1074;  // subnormal
  } else {
    m |= std::uint64_t{1} << 52;
  }
  uint128 n = static_cast<uint128>(m) * kPow10[d];
  if (e >= 0) {
    n <<= e;
  } else if (e < -100) {
    n = 0;  // below 2^-47 times 10^9: rounds to zero at nine decimals
  } else {
    const int s = -e;
    const uint128 one = 1;
    const uint128 rest = n & ((one << s) - 1);
    const uint128 half = one << (s - 1);
    n >>= s;
    if (rest > half || (rest == half && (n & 1) != 0)) ++n;
  }
  const auto whole = static_cast<std::uint64_t>(n / kPow10[d]);
  auto fraction = static_cast<std::uint64_t>(n % kPow10[d]);
  out = std::to_chars(out, out + 24, whole).ptr;
  *out++ = '.';
  for (int k = d - 1; k >= 0; --k) {
    out[k] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return out + d;
}

}  // namespace

void put_fixed(std::string& line, double x, int w, int d) {
  if (std::isnan(x)) return put_right(line, "NaN", w);
  if (std::isinf(x)) return put_right(line, x < 0 ? "-Inf" : "Inf", w);
  // 309 integer digits, a sign, a point and the decimals fit.
  char buffer[352];
  char* end = buffer;
  if (std::fabs(x) < 9.2e18 && d <= 9) {
    if (std::signbit(x)) *end++ = '-';
    end = exact_fixed(end, x, d);
  } else {
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, x, std::chars_format::fixed, d);
    if (result.ec != std::errc{}) {
      line.append(static_cast<std::size_t>(w), '*');
      return;
    }
    end = result.ptr;
    if (d == 0) *end++ = '.';
  }
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
