// SPDX-License-Identifier: MIT
// Orbit determination by least squares from optical astrometry: a preliminary orbit by E3,
// then a differential correction of the heliocentric state at an epoch, with two-body or
// planet-perturbed motion, light time, the observers' places from the MPC's observatory
// list and an outlier rule. Elements are reported on the ecliptic and equinox of J2000.0.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/optical_observations.hpp"
#include "fit/observatories.hpp"
#include "core/types.hpp"

namespace astro {

enum class MotionModel {
  two_body,   // the Sun alone: E1 and PV of orbit/state_vector.hpp
  perturbed,  // the Sun and the eight planets (Earth and Moon as their barycentre)
};

enum class FitStatus {
  ok,                    // converged; elements, sigmas and residuals filled
  file_error,            // an observation or observatory file could not be read
  no_observations,       // no usable observation (none of the object, or no known site)
  too_few_observations,  // fewer than three usable observations at distinct instants
  no_preliminary_orbit,  // no triple gave a preliminary orbit and no start was given
  not_converged,         // the least squares did not settle within its bound
  integration_failed,    // the integrator gave up (a step count bound, a pass through a planet)
  work_limit,            // the fit's bound on its total work (FitOptions::work_limit) was reached
};

// The default of FitOptions::work_limit: some 2.3 times the work of the largest fit of
// data/mpc (Apophis, 291 observations over four years, perturbed: 3.5 million units), about
// 6 seconds of one core on the machine of docs/fit.md.
inline constexpr long long kDefaultWorkLimit = 8'000'000;

// The name of a status ("ok", "no_observations", ...).
std::string_view status_name(FitStatus status);

struct FitOptions {
  MotionModel model = MotionModel::perturbed;
  // The epoch of the elements, TT Julian Date; default the TT instant of the middle used
  // observation.
  std::optional<double> epoch_jd_tt;
  // A starting orbit instead of the E3 search: heliocentric elements on the J2000.0
  // ecliptic, a (au), e, i, peri, node, M (radians) with M at start_epoch_jd_tt.
  std::optional<ElementSet> start_elements;
  double start_epoch_jd_tt = 0.0;
  // Observation types (column 15) taken when the fit reads a file.
  std::string note2_codes = std::string(kDefaultNote2);
  // An observation is rejected when |dRA cos Dec| or |dDec| exceeds outlier_sigma times the
  // RMS per coordinate of the used residuals (0 or less: no rejection).
  double outlier_sigma = 3.0;
  // Bound on the fit's total work, in units of the motion: one evaluation of the perturbed
  // equations of motion (8 when the planets come from eraPlan94 directly, outside the
  // planets' table), or one two-body propagation of a state to one instant. Counted across
  // every stage, start and round; reaching it ends the fit with status work_limit.
  long long work_limit = kDefaultWorkLimit;
};

// One observation as the fitted orbit sees it; residuals are observed minus computed.
struct FitResidual {
  double jd_utc;
  std::string observatory;
  double dra_cos_dec_arcsec;
  double ddec_arcsec;
  bool used;
};

struct FitResult {
  FitStatus status = FitStatus::no_observations;
  std::string message;  // what went wrong, empty when ok
  std::string object;
  MotionModel model = MotionModel::perturbed;
  double epoch_jd_tt = 0.0;
  // Osculating heliocentric elements at the epoch, J2000.0 ecliptic: a (au), e, i, peri,
  // node, M (radians; peri, node, M in [0, 2 pi)), and their formal 1-sigma uncertainties.
  ElementSet elements{};
  ElementSet sigmas{};
  // The heliocentric state at the epoch, au and au/day, J2000.0 equator (GCRS axes).
  Vector3 position{};
  Vector3 velocity{};
  double rms_arcsec = 0.0;  // RMS per coordinate of the used residuals
  std::size_t observations_used = 0;
  std::size_t observations_rejected = 0;
  std::size_t observations_without_site = 0;  // codes unknown or without coordinates
  int iterations = 0;                         // least-squares steps, all rounds
  std::vector<FitResidual> residuals;         // every observation with a site, in time order
};

// Fits an orbit to observations of one object.
//   observations  the object's observations (read_observations)
//   sites         the observatory table (read_observatories)
// Observations whose code is missing from the table or has no coordinates are counted in
// observations_without_site and not used. Never prints; the status says how it went.
FitResult fit_orbit(std::span<const Observation> observations, const ObservatoryTable& sites,
                    const FitOptions& options = {});

// The residuals of a given orbit, no fit: elements on the J2000.0 ecliptic with M at
// epoch_jd_tt (TT), moved with the model to every observation. The result holds the
// elements as given, the state at the epoch, every observation with a site as used, and
// the RMS; sigmas stay zero. Status no_observations, integration_failed or work_limit (the
// default bound, kDefaultWorkLimit) as fit_orbit's.
FitResult orbit_residuals(std::span<const Observation> observations,
                          const ObservatoryTable& sites, const ElementSet& elements,
                          double epoch_jd_tt, MotionModel model);

// fit_orbit from files: the observation file, the object's name (as read_observations takes
// it), the observatory file. A file that cannot be read gives status file_error with the
// reason in message.
FitResult fit_orbit_file(std::string_view observation_file, std::string_view object,
                         std::string_view observatory_file, const FitOptions& options = {});

}  // namespace astro
