// SPDX-License-Identifier: MIT
// The field readers on arbitrary text: READS3, READS_SPLIT3 with both separators, and the
// number grammar. Each must return; a failure may only print its message line.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "textio/reads.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::ostringstream out;
  (void)astro::READS3(text, out);
  double a = 0, b = 0, c = 0;
  astro::READS_SPLIT3(text, "/", a, b, c, out);
  astro::READS_SPLIT3(text, ":", a, b, c, out);
  double value = 0;
  (void)astro::parse_real(text, value);
  (void)astro::LENGTH(text);
  return 0;
}
