// SPDX-License-Identifier: MIT
// The readers by file name with the block size of their line scanner as a parameter (not
// part of the public headers). READ_MPC, READ_ELMTS and read_observations call these with
// BlockLines::kDefaultBlock; a test hands in a tiny block to put line ends at every place a
// block boundary can fall.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string_view>
#include <vector>

#include "catalog/optical_observations.hpp"
#include "core/types.hpp"

namespace astro::detail {

void read_mpc_file(std::string_view file_name, std::string_view object_name,
                   std::span<double> times, std::span<double> ra, std::span<double> dec,
                   std::int32_t& n, std::ostream& out, std::size_t block);

void read_elmts_file(std::string_view file_name, std::string_view object_name,
                     ElementSet& elements, std::int32_t n, std::ostream& out, std::size_t block);

std::vector<Observation> read_observations_file(std::string_view file_name,
                                                std::string_view object_name,
                                                std::string_view note2_codes, std::size_t block);

}  // namespace astro::detail
