// SPDX-License-Identifier: MIT
// Rotations of the coordinate frame about one axis at a time.
//
// Every change of frame in the solar chain is a sequence of these calls; no rotation matrix
// is formed. The rotations turn the frame, not the vector: a positive angle turns the frame
// counter-clockwise about the axis seen from the axis's positive end, so the coordinates
// turn by the negative angle (ROTAT3 by theta takes longitude lambda to lambda - theta;
// ROTAT1 by -eps takes ecliptic to equatorial coordinates when eps is the obliquity).
// A product R3(-Omega) R1(-i) R3(-omega) is applied right to left: ROTAT3 by -omega first.
//
// Common to all three:
//   in     vector, any unit (the unit is carried over)
//   out    written: the rotated vector; may be the same object as in
//   angle  radians, any finite value, not reduced; cos and sin are taken once per call
// The component along the axis is copied unchanged, bit for bit.
#pragma once

#include "core/types.hpp"

namespace astro {

// ROTAT1: out = R1(angle) in = (x1, c x2 + s x3, -s x2 + c x3).
void ROTAT1(const Vector3& in, Vector3& out, double angle);

// ROTAT2: out = R2(angle) in = (c x1 - s x3, x2, s x1 + c x3).
void ROTAT2(const Vector3& in, Vector3& out, double angle);

// ROTAT3: out = R3(angle) in = (c x1 + s x2, -s x1 + c x2, x3).
void ROTAT3(const Vector3& in, Vector3& out, double angle);

}  // namespace astro
