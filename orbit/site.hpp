// SPDX-License-Identifier: MIT
// The observing site and epoch that the parallax correction and the orbit determinations read.
#pragma once

namespace astro {

// The caller's observing site and the epoch of the orbits it determines.
//   longitude  radians, east positive
//   latitude   geodetic latitude, radians, north positive
//   height     metres above sea level
//   epoch      Julian Date to which E2 and E3 refer the mean anomaly of their orbits
struct ObservingSite {
  double longitude, latitude, height, epoch;
};

// The one process-wide site, filled by the caller; PARCOR reads the first three members and
// E2 and E3 the epoch, afresh at every call. No routine writes it. It starts as all zeros
// (longitude 0, latitude 0, sea level, epoch JD 0) and nothing checks whether it was set.
extern ObservingSite observing_site;

}  // namespace astro
