// SPDX-License-Identifier: MIT
// The astro library: every public header.
#pragma once

#include "catalog/catalog.hpp"
#include "driver/dialogue.hpp"
#include "driver/fortran_format.hpp"
#include "driver/program.hpp"
#include "driver/table.hpp"
#include "orbit/orbit.hpp"
#include "solar/solar.hpp"
#include "textio/reads.hpp"
#include "timeutil/constants.hpp"
#include "timeutil/timeutil.hpp"
