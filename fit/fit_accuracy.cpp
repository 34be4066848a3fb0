// SPDX-License-Identifier: MIT
// fit_accuracy: fits one object's observations and sets the elements beside a catalogue
// line's, as scripts/fit-accuracy runs it.
//   fit_accuracy OBSERVATIONS OBJECT OBSCODES CATALOGUE CATALOGUE_NAME two-body|perturbed
// The catalogue line (the first whose columns 1-29 begin with CATALOGUE_NAME) gives the
// epoch (TT) and the elements to compare, read from their columns as decimals: a 36-45,
// e 46-54, i 56-63, node 65-73, peri 75-83, M 86-94, epoch 96-104.
// Prints one line of key=value pairs, ending with the residuals that the catalogue's own
// orbit leaves on the same observations (perturbed model, no fit); the differences are fit minus catalogue, angles in
// degrees, the mean longitude node + peri + M reduced to (-180, 180].
//   fit_accuracy propagate CATALOGUE NAME two-body|perturbed
// The motion model alone: the second line of NAME carried to the epoch of the first, set
// beside the first (the catalogue holds Ceres at two epochs three years apart).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "catalog/fixed_field.hpp"
#include "fit/motion.hpp"
#include "fit/orbit_fit.hpp"

namespace {

double field(const std::string& line, std::size_t column, std::size_t width) {
  return astro::read_real(line, astro::RealField{column, width, 0});
}

double reduce180(double degrees) { return std::remainder(degrees, 360.0); }

struct CatalogueLine {
  double a, e, i, node, peri, m, epoch;  // au, degrees, TT Julian Date
};

CatalogueLine decode(const std::string& line) {
  return {field(line, 36, 10), field(line, 46, 9), field(line, 56, 8), field(line, 65, 9),
          field(line, 75, 9),  field(line, 86, 9), field(line, 96, 9)};
}

int propagate(const char* catalogue_file, const std::string& name, const std::string& model) {
  std::ifstream catalogue(catalogue_file);
  std::vector<CatalogueLine> lines;
  std::string line;
  while (std::getline(catalogue, line) && lines.size() < 2)
    if (line.compare(0, name.size(), name) == 0) lines.push_back(decode(line));
  if (lines.size() < 2) {
    std::cerr << "fit_accuracy: fewer than two lines " << name << "\n";
    return 2;
  }
  const double rad = std::numbers::pi / 180.0;
  const CatalogueLine& from = lines[1];
  const CatalogueLine& to = lines[0];
  const astro::ElementSet el = {from.a, from.e, from.i * rad, from.peri * rad, from.node * rad,
                                std::remainder(from.m * rad, 2.0 * std::numbers::pi)};
  const double times[1] = {to.epoch};
  const auto motion = model == "two-body" ? astro::MotionModel::two_body : astro::MotionModel::perturbed;
  const astro::detail::PlanetTable planets(std::min(from.epoch, to.epoch), std::max(from.epoch, to.epoch));
  const auto s = astro::detail::propagate(motion, from.epoch, astro::detail::elements_to_state(el),
                                          times, planets);
  const astro::ElementSet out = astro::detail::state_to_elements(s[0].state);
  const double deg = 1.0 / rad;
  std::printf("propagate=%s model=%s from=%.1f to=%.1f da=%.2e de=%.2e di=%.6f dnode=%.6f "
              "dperi=%.5f dM=%.5f dL=%.6f\n",
              name.c_str(), model.c_str(), from.epoch, to.epoch, out[0] - to.a, out[1] - to.e,
              out[2] * deg - to.i, reduce180(out[4] * deg - to.node),
              reduce180(out[3] * deg - to.peri), reduce180(out[5] * deg - to.m),
              reduce180((out[3] + out[4] + out[5]) * deg - (to.node + to.peri + to.m)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "propagate") return propagate(argv[2], argv[3], argv[4]);
  if (argc != 7) {
    std::cerr << "usage: fit_accuracy OBSERVATIONS OBJECT OBSCODES CATALOGUE NAME two-body|perturbed\n";
    return 2;
  }
  const std::string name = argv[5];
  std::ifstream catalogue(argv[4]);
  std::string line;
  bool found = false;
  while (std::getline(catalogue, line))
    if (line.compare(0, name.size(), name) == 0) {
      found = true;
      break;
    }
  if (!found) {
    std::cerr << "fit_accuracy: no line " << name << " in " << argv[4] << "\n";
    return 2;
  }
  const double cat_a = field(line, 36, 10), cat_e = field(line, 46, 9);
  const double cat_i = field(line, 56, 8), cat_node = field(line, 65, 9);
  const double cat_peri = field(line, 75, 9), cat_m = field(line, 86, 9);
  const double epoch = field(line, 96, 9);

  astro::FitOptions options;
  options.model = std::string(argv[6]) == "two-body" ? astro::MotionModel::two_body
                                                     : astro::MotionModel::perturbed;
  options.epoch_jd_tt = epoch;
  const auto start = std::chrono::steady_clock::now();
  const astro::FitResult r = astro::fit_orbit_file(argv[1], argv[2], argv[3], options);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (r.status != astro::FitStatus::ok) {
    std::printf("object=%s model=%s status=%s message=\"%s\"\n", argv[2], argv[6],
                std::string(astro::status_name(r.status)).c_str(), r.message.c_str());
    return 1;
  }
  const double deg = 180.0 / std::numbers::pi;
  // The catalogue's orbit against the same observations (perturbed model, no fit).
  const astro::ElementSet cat = {cat_a, cat_e, cat_i / deg, cat_peri / deg, cat_node / deg,
                                 cat_m / deg};
  const astro::FitResult c = astro::orbit_residuals(
      astro::read_observations(argv[1], argv[2]), astro::read_observatories(argv[3]), cat, epoch,
      astro::MotionModel::perturbed);
  double mean_ra = 0.0, mean_dec = 0.0, worst = 0.0;
  for (const astro::FitResidual& res : c.residuals) {
    mean_ra += res.dra_cos_dec_arcsec / static_cast<double>(c.residuals.size());
    mean_dec += res.ddec_arcsec / static_cast<double>(c.residuals.size());
    worst = std::max({worst, std::abs(res.dra_cos_dec_arcsec), std::abs(res.ddec_arcsec)});
  }
  const auto& el = r.elements;
  const double lon = (el[astro::element::node] + el[astro::element::peri] + el[astro::element::M]) * deg;
  std::printf(
      "object=%s model=%s epoch=%.1f used=%zu rejected=%zu rms=%.3f seconds=%.3f "
      "a=%.8f da=%.2e e=%.8f de=%.2e i=%.6f di=%.6f node=%.6f dnode=%.6f "
      "peri=%.5f dperi=%.5f M=%.5f dM=%.5f dL=%.6f "
      "sa=%.1e se=%.1e si=%.1e snode=%.1e speri=%.1e sM=%.1e "
      "catalogue_orbit: rms=%.3f mean_dra=%.3f mean_ddec=%.3f max=%.2f\n",
      argv[2], argv[6], r.epoch_jd_tt, r.observations_used, r.observations_rejected,
      r.rms_arcsec, seconds, el[0], el[0] - cat_a, el[1], el[1] - cat_e, el[2] * deg,
      el[2] * deg - cat_i, el[4] * deg, reduce180(el[4] * deg - cat_node), el[3] * deg,
      reduce180(el[3] * deg - cat_peri), el[5] * deg, reduce180(el[5] * deg - cat_m),
      reduce180(lon - (cat_node + cat_peri + cat_m)), r.sigmas[0], r.sigmas[1],
      r.sigmas[2] * deg, r.sigmas[4] * deg, r.sigmas[3] * deg, r.sigmas[5] * deg,
      c.rms_arcsec, mean_ra, mean_dec, worst);
  return 0;
}
