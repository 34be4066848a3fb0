// SPDX-License-Identifier: MIT
// The astro library: every public header (the programs' own code is not part of it).
#pragma once

#include "catalog/catalog.hpp"
#include "core/constants.hpp"
#include "core/errors.hpp"
#include "core/types.hpp"
#include "orbit/orbit.hpp"
#include "solar/solar.hpp"
#include "textio/reads.hpp"
#include "timeutil/timeutil.hpp"
