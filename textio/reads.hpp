// SPDX-License-Identifier: MIT
// Field readers: signed sexagesimal values and separator-delimited numbers from one answer
// line, with an optional trailing "/*" comment; the significant length of a text; the
// number grammar shared with the fixed-column file readers.
//
// A text is a fixed-length, blank-padded string; only the blank (code 32) counts as blank
// for LENGTH. Inside a free-form field a tab counts as a blank too.
#pragma once

#include <cstdint>
#include <iostream>
#include <string_view>

namespace astro {

// LENGTH: position (1-based) of the last character that is not a blank; 0 for an all-blank
// or empty text. Only code 32 is blank.
std::int32_t LENGTH(std::string_view text);

// SIGNUM: -1.0 if x < 0, else +1.0 (so +1.0 for both zeros).
double SIGNUM(double x);

// SIGNC: '-' if x < 0, else '+'.
char SIGNC(double x);

// READS2: a signed sexagesimal value D[:M[:S]] in radians.
//   text       the field text; split at the first character of separator into at most three
//              fields (a fourth part stays inside the third field)
//   separator  only its first character is used; empty means one field
//   each field is read by read_free_field, so a decimal comma works: "50,0833" is 50.0833
//   returns    d1 k, s (|d1| + d2/60) k or s ((|d1| + d2/60) + d3/3600) k with
//              k = 3.1415926535 / 180 and s = -1 when the sign bit of d1 is set, else +1.
//              So a minus sign on a first field that reads as zero counts: "-0:30" and
//              "-00:30:00" are -0.5 degrees, "-0" is -0.0; later fields keep their own signs.
// A field that is empty, blank or not a number writes "reads: error reading input: " and the
// significant text to out, and the result is 0.
double READS2(std::string_view text, std::string_view separator, std::ostream& out = std::cout);

// READS: READS2 with the separator ":".
double READS(std::string_view text, std::ostream& out = std::cout);

// READS3: READS of the text cut just after the slash of its first "/*" (the slash then ends
// the last number), or of the whole text when it holds no "/*".
double READS3(std::string_view text, std::ostream& out = std::cout);

// READS_SPLIT: up to three plain numbers separated by the first character of separator; a
// field may use a decimal comma (see read_free_field): "2024/03/15,5" has day 15.5.
//   a, b, c   written: the fields as read, 0 for fields that are not there; all three 0
//             when any field fails (the failure line is written as by READS2)
void READS_SPLIT(std::string_view text, std::string_view separator, double& a, double& b,
                 double& c, std::ostream& out = std::cout);

// READS_SPLIT3: READS_SPLIT of the text without its trailing "/*" comment, cut as in READS3.
void READS_SPLIT3(std::string_view text, std::string_view separator, double& a, double& b,
                  double& c, std::ostream& out = std::cout);

// The number grammar of every numeric field: an optional sign, digits with an optional
// decimal point and fraction (".5" and "5." count), then an optional exponent of E, e, D or d,
// an optional sign and digits. The whole item must match; nothing else is a number ("inf",
// "nan", hexadecimal, "1.0+5", "1.5E", a lone sign or point). A value too large for a double
// fails; one too small reads as its subnormal value or as a zero of its sign.
//   returns true and sets value on success; leaves value alone on failure
bool parse_real(std::string_view item, double& value);

// One free-form field: blanks and tabs skipped, then the first item, which ends at a blank,
// tab, comma or slash and must be a number. A first item that is empty (the field, after
// blanks, starts with a comma or a slash) reads as 0. An empty or blank field fails.
// Decimal comma: when the item is only an optional sign and digits and is directly followed
// by a comma and a digit, the comma is its decimal point and the item runs on to the next
// blank, tab, comma or slash; all of it must then be a number ("50,0833" is 50.0833, "-0,5"
// is -0.5, "5,6,7" is 5.6, "5,5e3" is 5500, "5,5x" fails). "50,x" is 50 and "50.5,25" is
// 50.5: there the comma ends the item as before.
//   returns true and sets value on success
bool read_free_field(std::string_view field, double& value);

// The text up to and including the slash of its first "/*", or the whole text when it holds
// none: what READS3 and READS_SPLIT3 hand to READS and READS_SPLIT.
std::string_view strip_comment(std::string_view text);

// READS2 that also tells whether every field read: value as READS2 returns it (0 and the
// failure line written on failure); returns false when a field failed.
bool read_sexagesimal(std::string_view text, std::string_view separator, double& value,
                      std::ostream& out = std::cout);

// READS_SPLIT that also tells whether every field read: a, b, c and the failure line as
// READS_SPLIT writes them; returns false when a field failed.
bool read_split(std::string_view text, std::string_view separator, double& a, double& b,
                double& c, std::ostream& out = std::cout);

}  // namespace astro
