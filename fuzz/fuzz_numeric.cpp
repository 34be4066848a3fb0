// SPDX-License-Identifier: MIT
// The numeric routines on arbitrary doubles (NaN, infinities, zeros, subnormals and huge
// values included): each call must return (libFuzzer's -timeout catches a hang) with no
// sanitizer report. RangeError is the documented report of RIZAR and of the routines that
// reduce angles, for values no calendar or turn count can hold.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "solar/solar.hpp"
#include "timeutil/timeutil.hpp"

namespace {

// Reads doubles from the input in turn, zeros once it runs out.
class Doubles {
 public:
  Doubles(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  double next() {
    double x = 0;
    if (pos_ + sizeof x <= size_) std::memcpy(&x, data_ + pos_, sizeof x);
    pos_ += sizeof x;
    return x;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

template <class Call>
void allowing_range_error(Call call) {
  try {
    call();
  } catch (const astro::RangeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Doubles in(data, size);
  const double M = in.next(), e = in.next();
  (void)astro::KEPLER(M, e);
  (void)astro::WEGSTEIN(M, e);
  (void)astro::EKEPL1(M, e);
  (void)astro::EMKEPL(M, e);

  const double jd = in.next(), lambda = in.next(), phi = in.next();
  const auto switches = static_cast<std::int32_t>(size % 8);
  double az, ht, ra, de, ha, lon, lat;
  allowing_range_error([&] {
    astro::RIZAR(jd, lambda, phi, switches & 1, (switches >> 1) & 1, (switches >> 2) & 1, az, ht,
                 ra, de, ha, lon, lat);
  });

  astro::ElementSet set;
  for (double& x : set) x = in.next();
  allowing_range_error([&] {
    astro::ElementSet copy = set;
    astro::ECLEQU(copy);
    astro::EQUECL(copy);
  });
  return 0;
}
