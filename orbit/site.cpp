// SPDX-License-Identifier: MIT
#include "orbit/site.hpp"

namespace astro {

ObservingSite observing_site{0.0, 0.0, 0.0, 0.0};

}  // namespace astro
