// SPDX-License-Identifier: MIT
#include "core/errors.hpp"

#include <sstream>

namespace astro {

void throw_int32_range(double x, const char* routine) {
  std::ostringstream msg;
  msg.precision(17);
  msg << routine << ": value " << x << " out of the supported range";
  throw RangeError(msg.str());
}

}  // namespace astro
