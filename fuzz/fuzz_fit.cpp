// SPDX-License-Identifier: MIT
// The orbit fit on small arbitrary observation files, and the observatory list's reader on
// the same bytes. The first byte picks the model (bit 0: two-body), whether an epoch is
// given (bit 1: the next two bytes, little-endian, give it as JD 2400000.5 + 2 n, the years
// 1858 to 2217), whether the fit uses the observatories read from the input instead of the
// MPC's list (bit 2), and whether the observatory reader sees the whole text or its second
// half (bit 3). The rest is the text: read_observations takes the object named in the first
// line's columns 1-5 (the types C and B), and the fit gets at most 12 of its records, with a
// work bound of 100,000 units (0.1 s in a Release build, a few seconds here) so that each input
// ends well within the fuzzer's time limit.
// Findings besides crashes, sanitizer reports and timeouts: a reader exception other than
// the documented ones; an observatory list that reads without a code; a status whose name
// is unknown; a failure without a message; an ok with a message, with non-finite elements,
// sigmas, state, RMS or residuals, with fewer than three observations used, or with counts
// that disagree with the residuals.
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.hpp"
#include "fit/observatories.hpp"
#include "fit/orbit_fit.hpp"

namespace {

constexpr std::size_t kMaxRecords = 12;
constexpr long long kFuzzWorkLimit = 100'000;

// A broken promise: says which, then stops the run as a crash.
void require(bool holds, const char* what, const astro::FitResult* r = nullptr) {
  if (holds) return;
  std::fprintf(stderr, "fuzz_fit: %s", what);
  if (r != nullptr)
    std::fprintf(stderr, " (status %s, message \"%s\", rms %g, used %zu)",
                 std::string(astro::status_name(r->status)).c_str(), r->message.c_str(),
                 r->rms_arcsec, r->observations_used);
  std::fprintf(stderr, "\n");
  __builtin_trap();
}

bool finite(double v) { return std::isfinite(v); }

template <class Array>
bool all_finite(const Array& a) {
  for (double v : a)
    if (!finite(v)) return false;
  return true;
}

const astro::ObservatoryTable& mpc_sites() {
  static const astro::ObservatoryTable table = astro::read_observatories(ASTRO_OBSCODES_FILE);
  return table;
}

// The observatory reader on text: a table with at least one code, or its documented error.
std::optional<astro::ObservatoryTable> read_sites(std::string_view text) {
  std::istringstream in{std::string(text)};
  try {
    astro::ObservatoryTable table = astro::read_observatories(in);
    require(table.size() > 0, "an observatory list without a code");
    return table;
  } catch (const astro::ObservatoryFileError& e) {
    require(std::string_view(e.what()).size() > 0, "an observatory error without a message");
    return std::nullopt;
  }
}

void check(const astro::FitResult& r) {
  require(astro::status_name(r.status) != "unknown", "a status without a name", &r);
  if (r.status != astro::FitStatus::ok) {
    require(!r.message.empty(), "a failure without a message", &r);
    return;
  }
  require(r.message.empty(), "an ok with a message", &r);
  require(all_finite(r.elements), "non-finite elements", &r);
  require(all_finite(r.sigmas), "non-finite sigmas", &r);
  require(all_finite(r.position) && all_finite(r.velocity) && finite(r.epoch_jd_tt),
          "a non-finite state or epoch", &r);
  require(finite(r.rms_arcsec), "a non-finite RMS", &r);
  require(r.observations_used >= 3, "fewer than three observations used", &r);
  require(r.observations_used + r.observations_rejected == r.residuals.size(),
          "counts that disagree with the residuals", &r);
  std::size_t used = 0;
  for (const astro::FitResidual& x : r.residuals) {
    require(finite(x.jd_utc) && finite(x.dra_cos_dec_arcsec) && finite(x.ddec_arcsec),
            "a non-finite residual", &r);
    used += x.used ? 1 : 0;
  }
  require(used == r.observations_used, "used flags that disagree with the count", &r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::size_t at = 1;
  astro::FitOptions options;
  options.work_limit = kFuzzWorkLimit;
  if (flags & 1) options.model = astro::MotionModel::two_body;
  if ((flags & 2) && size >= 3) {
    options.epoch_jd_tt = 2400000.5 + 2.0 * (data[1] | (data[2] << 8));
    at = 3;
  }
  const std::string_view text(reinterpret_cast<const char*>(data + at), size - at);

  const std::optional<astro::ObservatoryTable> own_sites =
      read_sites((flags & 8) ? text.substr(text.size() / 2) : text);

  const std::string_view object = text.substr(0, std::min<std::size_t>(5, text.find('\n')));
  std::vector<astro::Observation> observations;
  try {
    std::istringstream in{std::string(text)};
    observations = astro::read_observations(in, object);
  } catch (const astro::FieldError&) {  // a line whose fields hold no numbers
    return 0;
  }
  if (observations.size() > kMaxRecords) observations.resize(kMaxRecords);
  const astro::ObservatoryTable& sites = (flags & 4) && own_sites ? *own_sites : mpc_sites();
  check(astro::fit_orbit(observations, sites, options));
  return 0;
}
