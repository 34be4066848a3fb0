// SPDX-License-Identifier: MIT
// worked_orbit: a preliminary orbit by E3 from three real MPC observations of one object,
// printed beside the object's catalogue elements with the differences.
//   worked_orbit [OBSERVATIONS [OBJECT [CATALOGUE_NAME [CATALOGUE]]]]
// Defaults: data/mpc/ceres.obs, 00001, the object's name, data/catalogue/elements.txt
// (relative paths: run it from the top of the source tree).
#include "examples/worked_orbit.hpp"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return astro::worked::run(args, std::cout, std::cerr);
}
