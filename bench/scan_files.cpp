// SPDX-License-Identifier: MIT
// astro_scan: one file reader over one file by name, for scripts/bench to time as a whole
// run beside `grep -c` and `wc -l` on the same file.
//   astro_scan mpc   FILE NAME   READ_MPC with room for 2,000,000 observations
//   astro_scan elmts FILE NAME   READ_ELMTS asking for match 2,000,000, so that every match
//                                is decoded and the file read to its end
//   astro_scan obs   FILE NAME   read_observations, CCD and CMOS lines
// Prints the number of observations found, or the semi-major axis of the last catalogue
// match (-1 when none), which the script checks against what the file was made of.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "catalog/catalog.hpp"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: astro_scan mpc|elmts|obs FILE NAME\n");
    return 2;
  }
  const std::string_view kind = argv[1];
  const char* file = argv[2];
  const std::string_view name = argv[3];
  constexpr std::int32_t kRoom = 2'000'000;
  long long found = 0;
  if (kind == "mpc") {
    // Left unset: pages the reader never writes are never touched.
    const std::unique_ptr<double[]> t(new double[kRoom]), ra(new double[kRoom]),
        dec(new double[kRoom]);
    std::int32_t n = kRoom;
    astro::READ_MPC(file, name, {t.get(), kRoom}, {ra.get(), kRoom}, {dec.get(), kRoom}, n);
    found = n;
  } else if (kind == "elmts") {
    astro::ElementSet el{-1, -1, -1, -1, -1, -1};
    astro::READ_ELMTS(file, name, el, kRoom);
    std::printf("%.7f\n", el[0]);
    return 0;
  } else if (kind == "obs") {
    found = static_cast<long long>(astro::read_observations(file, name).size());
  } else {
    std::fprintf(stderr, "astro_scan: unknown reader %s\n", argv[1]);
    return 2;
  }
  std::printf("%lld\n", found);
  return 0;
}
