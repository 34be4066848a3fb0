// SPDX-License-Identifier: MIT
// The astro command's readers of option values on any bytes: each either returns a value in
// its range or throws ParseError; an accepted civil time written back to the millisecond
// reads as the same Julian Date.
#include <date/tz.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/output.hpp"
#include "cli/parse.hpp"
#include "core/constants.hpp"

using namespace astro::cli;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static const date::time_zone* prague = date::locate_zone("Europe/Prague");
  try {
    const double lat = parse_angle(text, AngleKind::latitude);
    if (!(lat >= -90 * astro::kDegToRad && lat <= 90 * astro::kDegToRad)) std::abort();
  } catch (const ParseError&) {
  }
  try {
    const double lon = parse_angle(text, AngleKind::longitude);
    if (!(lon >= -180 * astro::kDegToRad && lon < 360 * astro::kDegToRad)) std::abort();
  } catch (const ParseError&) {
  }
  for (const date::time_zone* zone : {static_cast<const date::time_zone*>(nullptr), prague}) {
    try {
      const double jd = parse_time(text, zone);
      if (!(jd >= kFirstJd && jd <= kLastJd)) std::abort();
      const bool julian = text.find("jd:") != std::string_view::npos ||
                          text.find("JD:") != std::string_view::npos ||
                          text.find("jD:") != std::string_view::npos ||
                          text.find("Jd:") != std::string_view::npos;
      if (!julian) {
        char written[40];
        char* end = put_time(written, unix_ms_from_jd(jd), 0, TimeStyle{});
        if (parse_time(std::string_view(written, static_cast<std::size_t>(end - written)),
                       nullptr) != jd)
          std::abort();
      }
    } catch (const ParseError&) {
    }
  }
  try {
    const double days = parse_duration_days(text);
    if (!(days >= -3.7e6 && days <= 3.7e6)) std::abort();
  } catch (const ParseError&) {
  }
  try {
    if (parse_count(text, std::int64_t{1} << 53) > (std::int64_t{1} << 53)) std::abort();
  } catch (const ParseError&) {
  }
  try {
    (void)parse_date(text);
  } catch (const ParseError&) {
  }
  return 0;
}
