// SPDX-License-Identifier: MIT
// Solar and planetary position: every public header of the subsystem.
#pragma once

#include "solar/kepler.hpp"
#include "solar/types.hpp"
