// SPDX-License-Identifier: MIT
// Catalogue and observation files: every public header of the subsystem.
#pragma once

#include "catalog/elements.hpp"
#include "catalog/fixed_field.hpp"
#include "catalog/observations.hpp"
#include "catalog/optical_observations.hpp"
