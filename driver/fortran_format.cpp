// SPDX-License-Identifier: MIT
#include "driver/fortran_format.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace astro {

namespace {

// Fields up to this width are built on the stack before they are appended; wider ones are
// written straight into the line.
constexpr int kStackWidth = 64;

__extension__ typedef unsigned __int128 uint128;  // the GCC and Clang 128-bit integer

// 10^0 .. 10^19, every power of ten below 2^64.
constexpr auto kPowers = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t p = 1;
  for (auto& power : powers) {
    power = p;
    p *= 10;
  }
  return powers;
}();

// "00" to "99": two digits at a time.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int n = 0; n < 100; ++n) {
    pairs[2 * n] = static_cast<char>('0' + n / 10);
    pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

// The number of decimal digits of v, at least 1, without a loop: t from the bit length
// (1233 / 4096 is just above log10 2) is the digit count or one less.
int digit_count(std::uint64_t v) {
  v |= 1;
  const auto t = static_cast<std::size_t>((std::bit_width(v) * 1233) >> 12);
  return static_cast<int>(t) + (v >= kPowers[t]);
}

// Writes the last n decimal digits of v, leading zeros included, just before end; returns
// where they begin.
char* digits_before(char* end, std::uint64_t v, int n) {
  for (; n >= 2; n -= 2, v /= 100) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[2 * (v % 100)], 2);
  }
  if (n == 1) *--end = static_cast<char>('0' + v % 10);
  return end;
}

// Fills out[0 .. w-1] with blanks: a few fixed-size stores, overlapping where w is not a
// multiple of their size, instead of a call. The text of a field is then written over its
// right end; nothing is read back from the field, so no load waits for these stores.
void blanks(char* out, int w) {
  static constexpr char kBlanks[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  if (w >= 16) {
    for (int k = 0; k + 16 < w; k += 16) std::memcpy(out + k, kBlanks, 16);
    std::memcpy(out + w - 16, kBlanks, 16);
  } else if (w >= 8) {
    std::memcpy(out, kBlanks, 8);
    std::memcpy(out + w - 8, kBlanks, 8);
  } else if (w >= 4) {
    std::memcpy(out, kBlanks, 4);
    std::memcpy(out + w - 4, kBlanks, 4);
  } else {
    out[0] = ' ';
    if (w > 1) out[1] = ' ';
    if (w > 2) out[2] = ' ';
  }
}

char* asterisks(char* out, int w) {
  std::memset(out, '*', static_cast<std::size_t>(w));
  return out + w;
}

// Writes text right-aligned into out[0 .. w-1], or w asterisks when it is wider.
char* write_right(char* out, std::string_view text, int w) {
  if (static_cast<int>(text.size()) > w) return asterisks(out, w);
  blanks(out, w);
  std::memcpy(out + w - text.size(), text.data(), text.size());
  return out + w;
}

// A non-negative number rounded to d decimals: whole part and decimals as integers.
struct Rounded {
  std::uint64_t whole = 0;
  std::uint64_t decimals = 0;
};

// Rounds n / 2^s (0 < s < the width of U) to the nearest integer, an exact tie to even, as
// the decimals of r, with a carry into the whole part when they reach 10^d. The parity of
// the rounded number is that of its last decimal, or of the whole part for d = 0.
template <class U>
void round_decimals(Rounded& r, U n, int s, int d) {
  const U one = 1;
  const U rest = n & ((one << s) - 1);
  const U half = one << (s - 1);
  r.decimals = static_cast<std::uint64_t>(n >> s);
  const bool odd = ((d == 0 ? r.whole : r.decimals) & 1) != 0;
  if ((rest > half || (rest == half && odd)) && ++r.decimals == kPowers[static_cast<std::size_t>(d)]) {
    r.decimals = 0;
    ++r.whole;
  }
}

// |x| rounded to d decimals as printf's "%.*f" rounds it (the exact binary value, an exact
// tie to even), for |x| < 2^63 and d <= 9. With x = m 2^-s exactly, the whole part is
// m >> s and the rest f = m - (whole << s); the decimals are round(f 10^d / 2^s), found in
// 64-bit integers where the product fits, else in 128-bit ones.
Rounded round_exactly(double x, int d) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e = biased - 1075;
  if (biased == 0) {
    e = -1074;  // subnormal
  } else {
    m |= std::uint64_t{1} << 52;
  }
  Rounded r;
  if (e >= 0) {
    r.whole = m << e;
  } else if (e >= -100) {  // below 2^-47 times 10^9 everything rounds to zero at nine decimals
    const int s = -e;
    r.whole = s < 64 ? m >> s : 0;
    const std::uint64_t f = s < 64 ? m & ((std::uint64_t{1} << s) - 1) : m;
    const std::uint64_t scale = kPowers[static_cast<std::size_t>(d)];
    if (s + std::bit_width(scale) <= 64) {  // f < 2^s: the product fits in 64 bits
      round_decimals<std::uint64_t>(r, f * scale, s, d);
    } else {
      round_decimals<uint128>(r, static_cast<uint128>(f) * scale, s, d);
    }
  }
  return r;
}

// Writes [-]whole.decimals with d decimals just before end; returns where it begins.
char* rounded_text_before(char* end, bool negative, Rounded r, int d) {
  end = digits_before(end, r.decimals, d);
  *--end = '.';
  end = digits_before(end, r.whole, digit_count(r.whole));
  if (negative) *--end = '-';
  return end;
}

// Writes the text of a fixed field right-aligned into out[0 .. w-1]; a value between -1
// and 1 drops the zero before its point when that makes it fit; else w asterisks.
char* write_fixed_text(char* out, std::string_view text, int w) {
  if (static_cast<int>(text.size()) <= w) return write_right(out, text, w);
  const bool negative = text.front() == '-';
  const std::size_t zero = negative ? 1 : 0;
  if (text.size() > zero + 1 && text[zero] == '0' && text[zero + 1] == '.' &&
      static_cast<int>(text.size()) - 1 <= w) {
    const std::string_view rest = text.substr(zero + 1);
    write_right(out, rest, w);
    if (negative) out[static_cast<std::size_t>(w) - rest.size() - 1] = '-';
    return out + w;
  }
  return asterisks(out, w);
}

// A fixed field through std::to_chars: values beyond 9.2e18 or more than 9 decimals
// (0 <= d < w). The text takes up to 309 integer digits, a sign, a point and d decimals: on
// the stack for up to 9 decimals, else on the heap (fields wider than the program prints).
char* write_fixed_general(char* out, double x, int w, int d) {
  constexpr std::size_t kRoom = 320;
  char stack_buffer[kRoom + 9];
  std::string heap_buffer;
  char* buffer = stack_buffer;
  std::size_t size = sizeof stack_buffer;
  if (d > 9) {
    heap_buffer.resize(kRoom + static_cast<std::size_t>(d));
    buffer = heap_buffer.data();
    size = heap_buffer.size();
  }
  const auto result = std::to_chars(buffer, buffer + size - 1, x, std::chars_format::fixed, d);
  if (result.ec != std::errc{}) return asterisks(out, w);
  char* end = result.ptr;
  if (d == 0) *end++ = '.';
  return write_fixed_text(out, std::string_view(buffer, static_cast<std::size_t>(end - buffer)), w);
}

}  // namespace

char* write_fixed(char* out, double x, int w, int d) {
  if (w <= 0) return out;
  if (std::isnan(x)) return write_right(out, "NaN", w);
  if (std::isinf(x)) return write_right(out, x < 0 ? "-Inf" : "Inf", w);
  // No valid count of decimals, or more than the field leaves room for after the point:
  // nothing fits.
  if (d < 0 || d >= w) return asterisks(out, w);
  if (!(std::fabs(x) < 9.2e18 && d <= 9)) return write_fixed_general(out, x, w, d);
  const Rounded r = round_exactly(x, d);
  const bool negative = std::signbit(x);
  if (negative + digit_count(r.whole) + 1 + d <= w) {  // the common case: it fits as it is
    blanks(out, w);
    rounded_text_before(out + w, negative, r, d);
    return out + w;
  }
  // A sign, 19 digits, a point and 9 decimals.
  char buffer[32];
  char* const end = buffer + sizeof buffer;
  const char* const begin = rounded_text_before(end, negative, r, d);
  return write_fixed_text(out, std::string_view(begin, static_cast<std::size_t>(end - begin)), w);
}

char* write_integer(char* out, long long v, int w) {
  if (w <= 0) return out;
  // The magnitude in unsigned arithmetic, so that the most negative value has one too.
  const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  const int digits = digit_count(magnitude);
  if ((v < 0) + digits > w) return asterisks(out, w);
  blanks(out, w);
  char* begin = digits_before(out + w, magnitude, digits);
  if (v < 0) begin[-1] = '-';
  return out + w;
}

void put_fixed(std::string& line, double x, int w, int d) {
  if (w <= kStackWidth) {
    char field[kStackWidth];
    line.append(field, write_fixed(field, x, w, d));
    return;
  }
  const std::size_t start = line.size();
  line.resize(start + static_cast<std::size_t>(w));
  write_fixed(line.data() + start, x, w, d);
}

void put_integer(std::string& line, long long v, int w) {
  if (w <= kStackWidth) {
    char field[kStackWidth];
    line.append(field, write_integer(field, v, w));
    return;
  }
  const std::size_t start = line.size();
  line.resize(start + static_cast<std::size_t>(w));
  write_integer(line.data() + start, v, w);
}

}  // namespace astro
