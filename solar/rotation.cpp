// SPDX-License-Identifier: MIT
#include "solar/rotation.hpp"

#include <cmath>

namespace astro {

// Each routine reads all of the input before it writes, so in and out may alias.

void ROTAT1(const Vector3& in, Vector3& out, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double y2 = c * in[1] + s * in[2];
  const double y3 = -s * in[1] + c * in[2];
  out[0] = in[0];
  out[1] = y2;
  out[2] = y3;
}

void ROTAT2(const Vector3& in, Vector3& out, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double y1 = c * in[0] - s * in[2];
  const double y3 = s * in[0] + c * in[2];
  out[0] = y1;
  out[1] = in[1];
  out[2] = y3;
}

void ROTAT3(const Vector3& in, Vector3& out, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double y1 = c * in[0] + s * in[1];
  const double y2 = -s * in[0] + c * in[1];
  out[0] = y1;
  out[1] = y2;
  out[2] = in[2];
}

}  // namespace astro
