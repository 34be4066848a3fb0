// SPDX-License-Identifier: MIT
// Solar and planetary position: every public header of the subsystem.
#pragma once

#include "core/types.hpp"
#include "solar/element_frames.hpp"
#include "solar/elements.hpp"
#include "solar/ephemeris.hpp"
#include "solar/events.hpp"
#include "solar/kepler.hpp"
#include "solar/orientation.hpp"
#include "solar/refraction.hpp"
#include "solar/rotation.hpp"
#include "solar/sun.hpp"
