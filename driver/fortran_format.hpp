// SPDX-License-Identifier: MIT
// Fixed-width output fields as the program prints them: fixed w.d and integer w, right
// aligned, asterisks filling a field that is too narrow.
#pragma once

#include <string>

namespace astro {

// Appends x as fixed w.d: the exact binary value rounded to d decimals as C's printf rounds
// it (to nearest, an exact tie to even), right-aligned in w characters, always with a
// decimal point (d = 0 ends in the point: "3600."). A value between -1 and 1 keeps its
// leading zero while it fits and drops it only when that makes it fit; a negative value
// that rounds to zero, and -0.0, keep the minus sign ("-0.00000"). NaN and infinities print
// as "NaN", "Inf", "-Inf". Whatever does not fit becomes w asterisks.
//   w  any width; w <= 0 appends nothing (an empty field)
//   d  decimals; d < 0, or d >= w (no room for the point and d decimals), gives w
//      asterisks, except that NaN and infinities still print where they fit
// Fields wider than 64 are written straight into line (std::string's own limits apply).
void put_fixed(std::string& line, double x, int w, int d);

// Appends v as integer w: decimal, right-aligned in w characters, no leading zeros; w
// asterisks when it does not fit.
//   w  any width; w <= 0 appends nothing
void put_integer(std::string& line, long long v, int w);

// The same two fields written into out[0 .. w-1] instead of appended, for lines built in a
// buffer of their own (the caller's buffer holds w bytes); each returns out + w. With
// w <= 0 they write nothing and return out.
char* write_fixed(char* out, double x, int w, int d);
char* write_integer(char* out, long long v, int w);

}  // namespace astro
