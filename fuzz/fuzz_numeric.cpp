// SPDX-License-Identifier: MIT
// The numeric routines (Kepler solvers, RIZAR, ECLEQU, EQUECL, PV, E1, E2, E3, PARCOR, GEM)
// on arbitrary doubles (NaN, infinities, zeros, subnormals and huge values included): each call must return (libFuzzer's -timeout catches a hang) with no
// sanitizer report. RangeError is the documented report of RIZAR and of the routines that
// reduce angles, for values no calendar or turn count can hold.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <sstream>

#include "orbit/orbit.hpp"
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

  astro::Vector3 position, velocity;
  astro::PV(set, position, velocity);
  astro::ElementSet back;
  allowing_range_error([&] { astro::E1(position, velocity, back, in.next()); });

  astro::observing_site = {in.next(), in.next(), in.next(), in.next()};
  std::array<double, 3> t, rho, alpha, delta, sx, sy, sz;
  for (auto* a : {&t, &rho, &alpha, &delta, &sx, &sy, &sz}) {
    for (double& x : *a) x = in.next();
  }
  using Two = std::span<const double, 2>;
  using Three = std::span<const double, 3>;
  allowing_range_error([&] {
    astro::E2(Two(t.data(), 2), Two(rho.data(), 2), Two(alpha.data(), 2), Two(delta.data(), 2),
              Two(sx.data(), 2), Two(sy.data(), 2), Two(sz.data(), 2), back);
  });
  std::ostringstream out;
  allowing_range_error([&] {
    astro::E3(Three(t.data(), 3), Three(alpha.data(), 3), Three(delta.data(), 3),
              Three(sx.data(), 3), Three(sy.data(), 3), Three(sz.data(), 3), back, out);
  });
  astro::Vector3 correction;
  allowing_range_error([&] { astro::PARCOR(in.next(), correction); });

  const std::int32_t n = static_cast<std::int32_t>(size % 5);
  std::array<double, 16> matrix;
  std::array<double, 4> rhs;
  for (double& x : matrix) x = in.next();
  for (double& x : rhs) x = in.next();
  std::int32_t flag = 0;
  astro::GEM(matrix, rhs, n, 4, flag);
  return 0;
}
