// SPDX-License-Identifier: MIT
// Orbit determination: every public header of the subsystem.
#pragma once

#include "orbit/determination.hpp"
#include "orbit/linear.hpp"
#include "orbit/parallax.hpp"
#include "orbit/site.hpp"
#include "orbit/state_vector.hpp"
