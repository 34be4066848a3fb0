// SPDX-License-Identifier: MIT
// RER_IVOZUVU_VUZARE: the Sun's azimuth, height and equatorial coordinates for a site and a
// series of instants, asked for on standard input and printed as a table on standard output.
#include <iostream>

#include "driver/program.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  // 0 complete, 2 bad or missing input (the output says what), 1 output not written.
  const int status = astro::run(std::cin, std::cout);
  if (status == astro::kStatusWriteError) {
    std::cerr << "RER_IVOZUVU_VUZARE: error writing standard output\n";
  }
  return status;
}
