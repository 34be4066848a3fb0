// SPDX-License-Identifier: MIT
// The Minor Planet Center's list of observatory codes and the observer's place at an instant.
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/types.hpp"

namespace astro {

// One observatory of the list: longitude east of Greenwich (degrees) and the parallax
// constants rho cos phi' and rho sin phi' (geocentric distance in equatorial radii of the
// Earth times the cosine and sine of the geocentric latitude). Spacecraft and roving
// observers carry no coordinates: has_position false.
struct Observatory {
  std::string code;
  std::string name;
  bool has_position = false;
  double longitude_deg = 0.0;
  double rho_cos_phi = 0.0;
  double rho_sin_phi = 0.0;
};

// Raised when the observatory file cannot be opened or read, or holds no code.
class ObservatoryFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ObservatoryTable {
 public:
  // The observatory of a code, or nothing for a code the list does not hold.
  const Observatory* find(std::string_view code) const;
  std::size_t size() const { return table_.size(); }
  void add(Observatory observatory);

 private:
  std::map<std::string, Observatory, std::less<>> table_;
};

// Reads the list as the MPC publishes it (ObsCodes.html): every line whose columns 1-3 hold
// a code, then longitude in columns 5-13, rho cos phi' in 14-21, rho sin phi' (signed) in
// 22-30 and the name from column 31; lines without the three numbers (blank columns 5-30:
// spacecraft, roving observers) give observatories without a position. The lines "<pre>",
// "</pre>" and the header line "Code  Long. ..." are passed over.
// Throws ObservatoryFileError when the file cannot be opened or read or holds no code, and
// for a line whose number columns are neither all blank nor three numbers (naming the line).
ObservatoryTable read_observatories(std::string_view file_name);
ObservatoryTable read_observatories(std::istream& in);

// The equatorial radius of the Earth of the parallax constants, km (IERS/WGS84: 6378.137).
inline constexpr double kEarthRadiusKm = 6378.137;

// The observer's geocentric position, au, in the GCRS (the J2000.0 equator and equinox to
// within the 0.02" of the frame bias), at an instant given as UTC and TT Julian Dates (each
// as a two-part date to keep precision). UT1 is taken equal to UTC (|UT1 - UTC| < 0.9 s,
// at most 0.4 km of the Earth's rotation at the equator, below 0.003" at 0.1 au). The
// terrestrial position from the longitude and the parallax constants, the polar motion
// neglected, is turned to the celestial frame by the transpose of ERFA's
// celestial-to-terrestrial matrix eraC2t06a (IAU 2006/2000A precession-nutation, the
// Earth rotation angle, zero polar motion).
Vector3 observer_geocentric(const Observatory& site, double utc1, double utc2, double tt1,
                            double tt2);

}  // namespace astro
