// SPDX-License-Identifier: MIT
// put_double: the shortest text that reads back to a double, laid out as std::to_chars
// without a format lays it out, from the shortest digits that {fmt} finds (Dragonbox).
// The one file of the command that includes fmt: it is compiled header-only here, with the
// full table of powers of ten (about 10 KB), so that to_decimal needs no multiplication to
// rebuild a cached power: some 90 instructions a number instead of 150 with the compact
// table of the shared library. Another file that included fmt header-only would have to use
// the same setting (one definition of each inline function).
#define FMT_USE_FULL_CACHE_DRAGONBOX 1
#include <fmt/format.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "cli/output.hpp"

namespace astro::cli {

namespace {

// Characters are put in 64-bit words, the first in the lowest byte.
static_assert(std::endian::native == std::endian::little,
              "put_double lays characters out in little-endian words");

// The eight decimal digits of x < 10^8, leading zeros included, as characters in a 64-bit
// word, the first digit in the byte of the lowest address. All lanes at once: x splits into
// two halves of four digits (32-bit lanes), each into two pairs (16-bit lanes), each pair
// into two digits (bytes); a division by 100 within a lane is the product by 10486 shifted
// right by 20 bits (exact below 10^4, and the product stays below 2^32), one by 10 the
// product by 103 shifted by 10 bits (exact below 10^2, the product below 2^16).
std::uint64_t eight_digits(std::uint32_t x) {
  std::uint64_t v = x / 10000 | static_cast<std::uint64_t>(x % 10000) << 32;
  const std::uint64_t hundreds = (v * 10486) >> 20 & 0x0000007F0000007FULL;
  v = hundreds | (v - hundreds * 100) << 16;
  const std::uint64_t tens = (v * 103) >> 10 & 0x000F000F000F000FULL;
  v = tens | (v - tens * 10) << 8;
  return v + 0x3030303030303030ULL;  // '0' in every byte
}

}  // namespace

char* put_double(char* p, double v) {
  const double magnitude = std::fabs(v);
  if (!(magnitude > 0 && magnitude < 0x1p53)) return std::to_chars(p, p + 32, v).ptr;
  // The shortest digits that read back to the value, the nearest to it when several do:
  // significand x 10^exponent, the significand without trailing zeros. {fmt} has no public
  // call that gives them without a layout of its own (its "{}" picks scientific notation by
  // the exponent alone, not by length as to_chars does), so the routines of its detail
  // namespace that its own writer of floats calls are called: to_decimal and count_digits.
  const auto decimal = fmt::detail::dragonbox::to_decimal(magnitude);
  const std::uint64_t significand = decimal.significand;  // below 10^17
  const int count = fmt::detail::count_digits(significand);
  const int exp10 = decimal.exponent + count - 1;  // the decimal exponent of the first digit
  const int last = decimal.exponent;               // and of the last

  // The digits, right-aligned in 24 bytes (the first seven hold no digit and are never
  // read), then 16 bytes of zeros that the fixed-length copies below may read past them.
  const std::uint64_t high = significand / 100000000;  // up to nine digits
  const auto low = static_cast<std::uint32_t>(significand - high * 100000000);
  const auto top = static_cast<std::uint32_t>(high / 100000000);
  char text[40];
  std::memset(text + 24, 0, 16);
  text[7] = static_cast<char>('0' + top);
  const std::uint64_t middle = eight_digits(static_cast<std::uint32_t>(high) - top * 100000000);
  const std::uint64_t end = eight_digits(low);
  std::memcpy(text + 8, &middle, 8);
  std::memcpy(text + 16, &end, 8);
  const char* const digits = text + 24 - count;

  if (v < 0) *p++ = '-';
  // The layout std::to_chars picks: fixed notation unless scientific is shorter, fixed on a
  // tie. "123000", "12.3" or "0.00123" against "1.23e+05", "1.23e-03": the mantissa, its
  // point when it has more than one digit, 'e', the sign and two exponent digits (a third
  // one from 1e100 and below 1e-99, where fixed notation is over 100 characters anyway).
  const int fixed_length = last >= 0 ? count + last : exp10 >= 0 ? count + 1 : count + 1 - exp10;
  const int scientific_length = count + (count > 1 ? 1 : 0) + 4;
  if (fixed_length <= scientific_length) {
    if (last >= 0) {
      // An integer below 2^53, so at most 16 digits: its digits and zeros, its exact value
      // as to_chars writes it (from 2^53 on to_chars writes the double's exact integer,
      // not the shortest digits and zeros; such values do not come here).
      std::memcpy(p, digits, 16);
      std::memset(p + count, '0', static_cast<std::size_t>(last));
      return p + count + last;
    }
    if (exp10 >= 0) {  // the point after the first exp10 + 1 digits, at most 16
      const int whole = exp10 + 1;
      std::memcpy(p, digits, 16);
      p[whole] = '.';
      std::memcpy(p + whole + 1, digits + whole, 16);
      return p + count + 1;
    }
    // "0." and at most three zeros (the lengths allow no more), then the digits.
    std::memcpy(p, "0.000", 5);
    p += 1 - exp10;
    std::memcpy(p, digits, 17);
    return p + count;
  }
  p[0] = digits[0];
  p[1] = '.';
  std::memcpy(p + 2, digits + 1, 16);
  p += count > 1 ? count + 1 : 1;
  *p++ = 'e';
  *p++ = exp10 < 0 ? '-' : '+';
  unsigned e = static_cast<unsigned>(exp10 < 0 ? -exp10 : exp10);
  if (e >= 100) {
    *p++ = static_cast<char>('0' + e / 100);
    e %= 100;
  }
  *p++ = static_cast<char>('0' + e / 10);
  *p++ = static_cast<char>('0' + e % 10);
  return p;
}

}  // namespace astro::cli
