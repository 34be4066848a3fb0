// SPDX-License-Identifier: MIT
// The catalogue and observation readers on arbitrary file contents, and the element line
// decoder on arbitrary lines. The first input byte picks the object name's length (0 to 15)
// and the capacity; the name follows, the rest is the file. A field that holds no number
// (FieldError) and an instant the calendar cannot place (RangeError) are the readers'
// documented reports; anything else, a crash or a sanitizer report is a finding.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "catalog/catalog.hpp"
#include "timeutil/timeutil.hpp"

namespace {

template <class Call>
void expecting_reports(Call call) {
  try {
    call();
  } catch (const astro::FieldError&) {
  } catch (const astro::RangeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t name_length = std::min<std::size_t>(data[0] & 0x0f, size - 1);
  const std::int32_t capacity = (data[0] >> 4) - 2;  // -2 .. 13
  const std::string_view name(reinterpret_cast<const char*>(data + 1), name_length);
  const std::string_view contents(reinterpret_cast<const char*>(data + 1 + name_length),
                                  size - 1 - name_length);

  // The same bytes as a file on disk, read by name.
  static const std::string path = "/tmp/fuzz_catalog_" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  }
  std::ostringstream out;
  std::array<double, 13> times{}, ra{}, dec{};
  std::int32_t n = capacity;
  expecting_reports([&] { astro::READ_MPC(path, name, times, ra, dec, n, out); });
  if (n < 0 || n > 13) __builtin_trap();
  astro::ElementSet elements{};
  expecting_reports([&] { astro::READ_ELMTS(path, name, elements, capacity, out); });

  // The bytes as one catalogue line.
  expecting_reports([&] { astro::DECODE_ELMTS(contents, elements); });
  return 0;
}
