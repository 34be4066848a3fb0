// SPDX-License-Identifier: MIT
#include "solar/sun.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/constants.hpp"
#include "core/math.hpp"
#include "core/types.hpp"
#include "solar/elements.hpp"
#include "solar/ephemeris.hpp"
#include "solar/orientation.hpp"
#include "solar/refraction.hpp"
#include "solar/rotation.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// Right angle for the co-latitude of the site, written out as 1.57079632675: half the
// program's pi (the same double as kPi / 2), not the full-precision pi / 2.
constexpr double kRightAngle = 1.57079632675;

constexpr std::int32_t kEarth = 3;
constexpr std::int32_t kOn = 1;

// Pressure and temperature arguments that make REFRAKCE use its defaults.
constexpr double kDefaultPressure = -1.0;
constexpr double kDefaultTemperature = -274.0;


// The one chain of the Sun's position: RIZAR, sun_position and sun_positions all run it.
// pressure and temperature go to REFRAKCE as they stand (its default markers included).
// The north-based azimuth is left to sun_position, which alone reports it.
inline void sun_chain(double jd, double lambda, double phi, bool precession, bool nutation,
                      bool refraction, double pressure, double temperature, SunPosition& s) {
  const double T = (jd - kJ2000) / kDaysPerCentury;

  ElementSet earth;
  ELMTS_PLANET(kEarth, T, earth);
  Vector3 X, Y;
  EPH(earth, X);
  const double r = std::sqrt(X[0] * X[0] + X[1] * X[1] + X[2] * X[2]);
  X = {-X[0], -X[1], -X[2]};  // geocentric Sun, ecliptic of J2000.0

  const double eps = EPS_EARTH(T);
  const double minus_eps = -eps;
  ROTAT1(X, Y, minus_eps);  // equatorial
  if (precession) {
    double zeta, z, theta;
    PRECES_ANGLE(0.0, T, zeta, z, theta);
    PRECES(Y, zeta, z, theta);
  }
  if (nutation) {
    double dpsi, deps;
    NUTATE_ANGLE(T, dpsi, deps);
    NUTATE(Y, eps, dpsi, deps);
  }
  s.right_ascension = NULA2PI(std::atan2(Y[1], Y[0]));
  s.declination = asin_clamped(Y[2] / r);

  if (nutation || precession) ROTAT1(Y, X, eps);  // back to the ecliptic
  s.ecliptic_longitude = NULA2PI(std::atan2(X[1], X[0]));
  s.ecliptic_latitude = asin_clamped(X[2] / r);

  double gmst0, gmst, lst;
  LST(jd, lambda / kDegToRad, gmst0, gmst, lst);
  const double sidereal = lst * kPi / 12;
  ROTAT3(Y, X, sidereal);  // hour-angle frame, x toward the meridian
  s.hour_angle = NULA2PI(-std::atan2(X[1], X[0]));

  const double colatitude = kRightAngle - phi;
  ROTAT2(X, Y, colatitude);  // horizon frame: x south, y east, z zenith
  s.azimuth_south = NULA2PI(-std::atan2(Y[1], Y[0]));
  s.height = asin_clamped(Y[2] / r);
  if (refraction) s.height = s.height + REFRAKCE(s.height, pressure, temperature);
  s.distance = r;
}

}  // namespace

void RIZAR(double jd, double lambda, double phi, std::int32_t precession,
           std::int32_t nutation, std::int32_t refraction, double& AZ, double& HT,
           double& RA, double& DE, double& HA, double& HeLong, double& HeLat) {
  SunPosition s;
  sun_chain(jd, lambda, phi, precession == kOn, nutation == kOn, refraction == kOn,
            kDefaultPressure, kDefaultTemperature, s);
  AZ = s.azimuth_south;
  HT = s.height;
  RA = s.right_ascension;
  DE = s.declination;
  HA = s.hour_angle;
  HeLong = s.ecliptic_longitude;
  HeLat = s.ecliptic_latitude;
}

SunPosition sun_position(double jd_ut, const Site& site, const SunOptions& options) {
  SunPosition s;
  sun_chain(jd_ut, site.longitude, site.latitude, options.precession, options.nutation,
            options.refraction, options.pressure_hpa, options.temperature_c, s);
  // azimuth_south lies in [0, 2 kPi], so the turn by kPi lands in [0, 2 kPi).
  s.azimuth = s.azimuth_south < kPi ? s.azimuth_south + kPi : s.azimuth_south - kPi;
  return s;
}

void sun_positions(std::span<const double> jd_ut, const Site& site, const SunOptions& options,
                   std::span<SunPosition> out) {
  if (out.size() < jd_ut.size()) {
    throw std::invalid_argument("sun_positions: the output holds fewer entries than jd_ut");
  }
  for (std::size_t k = 0; k < jd_ut.size(); ++k) out[k] = sun_position(jd_ut[k], site, options);
}

void sun_positions(std::span<const double> jd_ut, const Site& site, const SunOptions& options,
                   std::span<SunPosition> out, unsigned threads) {
  if (out.size() < jd_ut.size()) {
    throw std::invalid_argument("sun_positions: the output holds fewer entries than jd_ut");
  }
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t count = jd_ut.size();
  const std::size_t workers =
      std::clamp<std::size_t>(count / kMinInstantsPerThread, 1, threads);
  if (workers == 1) {
    sun_positions(jd_ut, site, options, out);
    return;
  }
  // The instants go in chunks of kMinInstantsPerThread, taken in order from a shared
  // counter by `workers` threads (the calling thread one of them): a thread that runs
  // faster, because another program holds the other core for a while, takes more chunks, and
  // the threads end together. A chunk that meets an instant out of range keeps its
  // exception; the lowest such chunk's is thrown, and no chunk after it is begun once it is
  // known. Every chunk before it is taken before it, so every entry before that instant is
  // written.
  const std::size_t chunks = (count + kMinInstantsPerThread - 1) / kMinInstantsPerThread;
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> end{chunks};  // the first failed chunk + 1
  std::mutex failure_mutex;
  std::size_t failed_chunk = chunks;
  std::exception_ptr failure;
  const auto run = [&] {
    for (;;) {
      const std::size_t c = next.fetch_add(1, std::memory_order_relaxed);
      if (c >= end.load(std::memory_order_relaxed)) return;
      const std::size_t first = c * kMinInstantsPerThread;
      const std::size_t n = std::min(kMinInstantsPerThread, count - first);
      try {
        sun_positions(jd_ut.subspan(first, n), site, options, out.subspan(first, n));
      } catch (...) {
        const std::lock_guard lock(failure_mutex);
        if (c < failed_chunk) {
          failed_chunk = c;
          failure = std::current_exception();
          end.store(c + 1, std::memory_order_relaxed);
        }
      }
    }
  };
  {
    std::vector<std::jthread> threads_started;
    threads_started.reserve(workers - 1);
    for (std::size_t t = 1; t < workers; ++t) threads_started.emplace_back(run);
    run();
  }  // the other threads join here
  if (failure) std::rethrow_exception(failure);
}

Vector3 sun_equatorial_j2000(double jd) {
  ElementSet earth;
  ELMTS_PLANET(kEarth, (jd - kJ2000) / kDaysPerCentury, earth);
  Vector3 earth_ecl;
  EPH(earth, earth_ecl);
  const Vector3 sun_ecl = {-earth_ecl[0], -earth_ecl[1], -earth_ecl[2]};
  Vector3 sun_equ;
  ROTAT1(sun_ecl, sun_equ, -EPS_EARTH(0.0));
  return sun_equ;
}

}  // namespace astro
