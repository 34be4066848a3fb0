// SPDX-License-Identifier: MIT
// The catalogue and observation readers on arbitrary file contents, and the element line
// decoder on arbitrary lines. The first input byte picks the object name's length (0 to 15)
// and the capacity; the name follows, the rest is the file. A field that holds no number
// (FieldError) and an instant the calendar cannot place (RangeError) are the readers'
// documented reports; anything else, a crash or a sanitizer report is a finding. The readers
// by name scan the file in blocks (here of a size that the input's length picks, so that
// line ends fall at every place around a boundary); the readers on a stream read it line by
// line: any difference between the two in results, messages or exceptions is a finding too.
// read_observations keeps the observation types that the first byte's high four bits pick;
// a record of a type not asked for, of an instant outside the years 0000-9999 or with an
// angle out of range is a finding.
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.hpp"
#include "catalog/file_scan.hpp"
#include "timeutil/timeutil.hpp"

namespace {

// The call's documented report, if any, in words; other exceptions pass and end the run.
template <class Call>
std::string expecting_reports(Call call) {
  try {
    call();
    return {};
  } catch (const astro::FieldError& e) {
    return std::string("FieldError ") + e.what();
  } catch (const astro::RangeError& e) {
    return std::string("RangeError ") + e.what();
  } catch (const astro::ObservationFileError&) {
    return std::string("ObservationFileError");
  }
}

void require(bool same) {
  if (!same) __builtin_trap();
}

// The same doubles bit for bit (NaN included).
template <class T>
bool same_bits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The observation types read_observations keeps, by the first byte's high four bits
// (7 the default, 15 nearly every type the MPC writes).
constexpr std::array<std::string_view, 16> kNote2Choices{
    "C", "B", "CBA", "", "X", "A", " ", astro::kDefaultNote2, "CB ", "0123456789", "CCBB",
    "P", "E", "sSrR", " !\"#$%&'()*+,-./:;<=>?@[]^_`{|}~", "ACBXPEHMNnTtVvWwcROSs"};

// A record within what catalog/optical_observations.hpp promises.
bool within_header(const astro::Observation& o, std::string_view codes) {
  constexpr double kPi = 3.141592653589793;
  constexpr double kJdYear0 = 1721059.5, kJdYear10000 = 5373484.5;
  return codes.find(o.note2) != std::string_view::npos && o.jd_utc >= kJdYear0 &&
         o.jd_utc < kJdYear10000 && o.ra >= 0 && o.ra < 2 * kPi && std::fabs(o.dec) <= kPi / 2 &&
         o.designation.size() <= 12 && o.observatory.size() <= 3;
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
  const std::size_t block = 1 + size % 200;

  std::ostringstream out, stream_out;
  std::array<double, 13> times{}, ra{}, dec{}, stream_times{}, stream_ra{}, stream_dec{};
  std::int32_t n = capacity, stream_n = capacity;
  const std::string mpc = expecting_reports(
      [&] { astro::detail::read_mpc_file(path, name, times, ra, dec, n, out, block); });
  if (n < 0 || n > 13) __builtin_trap();
  std::istringstream mpc_in{std::string(contents)};
  require(mpc == expecting_reports([&] {
            astro::read_mpc_lines(mpc_in, name, stream_times, stream_ra, stream_dec, stream_n,
                                  stream_out);
          }));
  require(n == stream_n && same_bits(times, stream_times) && same_bits(ra, stream_ra) &&
          same_bits(dec, stream_dec));
  require(out.str() == stream_out.str());

  astro::ElementSet elements{}, stream_elements{};
  const std::string elmts = expecting_reports(
      [&] { astro::detail::read_elmts_file(path, name, elements, capacity, out, block); });
  std::istringstream elmts_in{std::string(contents)};
  require(elmts == expecting_reports([&] {
            astro::read_elmts_lines(elmts_in, name, stream_elements, capacity, stream_out);
          }));
  require(same_bits(elements, stream_elements) && out.str() == stream_out.str());

  std::vector<astro::Observation> obs, stream_obs;
  const std::string_view codes = kNote2Choices[data[0] >> 4];
  const std::string observations = expecting_reports(
      [&] { obs = astro::detail::read_observations_file(path, name, codes, block); });
  std::istringstream obs_in{std::string(contents)};
  require(observations ==
          expecting_reports([&] { stream_obs = astro::read_observations(obs_in, name, codes); }));
  require(obs.size() == stream_obs.size());
  for (std::size_t k = 0; k < obs.size(); ++k) {
    require(obs[k].designation == stream_obs[k].designation &&
            same_bits(obs[k].jd_utc, stream_obs[k].jd_utc) && same_bits(obs[k].ra, stream_obs[k].ra) &&
            same_bits(obs[k].dec, stream_obs[k].dec) && obs[k].note2 == stream_obs[k].note2 &&
            obs[k].observatory == stream_obs[k].observatory);
    require(within_header(obs[k], codes));
  }

  // The bytes as one catalogue line.
  expecting_reports([&] { astro::DECODE_ELMTS(contents, elements); });
  return 0;
}
