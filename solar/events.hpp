// SPDX-License-Identifier: MIT
// Sunrise, sunset, upper and lower transit and the three twilights, found on the library's
// own chain of the Sun's position.
#pragma once

#include <string_view>
#include <vector>

#include "core/constants.hpp"
#include "solar/sun.hpp"

namespace astro {

// What happens at an event. Dawns and sunrise are upward crossings of their height, sunset
// and dusks downward ones; transit is the hour angle passing 0 (upper culmination),
// lower_transit the hour angle passing 180 degrees.
enum class SunEventKind {
  astronomical_dawn,
  nautical_dawn,
  civil_dawn,
  sunrise,
  transit,
  sunset,
  civil_dusk,
  nautical_dusk,
  astronomical_dusk,
  lower_transit,
};

// The kind's name as text, the enumerator's own spelling: "astronomical_dawn", ...,
// "lower_transit". Any value outside the enumeration gives "unknown".
std::string_view sun_event_name(SunEventKind kind);

// One event.
//   kind     what happens
//   jd_ut    Julian Date, UT, of the event
//   azimuth  of the Sun's centre at the event, radians, from the north point through the
//            east, [0, 2 pi)
//   height   geometric height of the Sun's centre at the event (no refraction), radians,
//            [-pi/2, pi/2]: the event's horizon for rises, sets, dawns and dusks; at a
//            transit it tells day from night (above the sunrise horizon: the Sun is up)
struct SunEvent {
  SunEventKind kind;
  double jd_ut;
  double azimuth;
  double height;
};

// The sunrise and sunset horizon: 50 arcminutes below the geometric horizon, radians
// (34' of standard refraction at the horizon and 16' of the Sun's semi-diameter).
inline constexpr double kSunriseHorizon = -50.0 / 60 * kDegToRad;

// How sunrise and sunset are defined; the twilights are fixed at -6, -12 and -18 degrees.
//   horizon           geometric height of the Sun's centre at sunrise and sunset, radians,
//                     within [-pi/2, pi/2]; -50' by default
//   use_site_height   lower that horizon by the dip of the sea horizon seen from the site's
//                     height above it, dip = 1.76' sqrt(height in metres) (the navigators'
//                     dip with standard terrestrial refraction: 3.1' at 3 m, 17.6' at 100 m).
//                     Off by default; heights of 0 or below give no dip. The twilights are
//                     never moved.
struct SunEventOptions {
  double horizon = kSunriseHorizon;
  bool use_site_height = false;
};

// Every event in [jd_from, jd_to), in time order (kinds that fall on the same instant keep
// the order of the enumeration).
//   site              latitude, longitude (radians) and height (metres, for the dip only)
//   jd_from, jd_to    Julian Dates, UT; an empty range (jd_to <= jd_from) gives no events
//   options           the sunrise horizon
// The heights are those of sun_position with precession and nutation on and refraction off:
// the geometric height of the Sun's centre on the library's own chain. Each instant lies
// within 0.1 s of that chain's own crossing (in practice within a millisecond; near a grazing
// crossing, where the height hardly changes, the instant is as ill-determined as the
// crossing itself). Near the polar circles a day may hold two sunrises or none; polar day
// and polar night hold no sunrise and no sunset (see day_kind). Two crossings of one height
// less than about 0.2 ms apart (a touch of the horizon) are not reported.
// Throws RangeError for NaN or infinite bounds, for a range longer than 10,000 years
// (3,652,500 days), and where sun_position cannot place an instant (within a day of the
// range).
std::vector<SunEvent> sun_events(const Site& site, double jd_from, double jd_to,
                                 const SunEventOptions& options = {});

// What one day is at a site.
enum class DayKind {
  normal,       // the Sun rises or sets (at least once)
  polar_day,    // no sunrise or sunset, the Sun stays above the sunrise horizon
  polar_night,  // no sunrise or sunset, the Sun stays below it
};

// The kind of the day [jd_day_start, jd_day_start + 1) at the site, for the sunrise horizon
// of options. Throws as sun_events does.
DayKind day_kind(const Site& site, double jd_day_start, const SunEventOptions& options = {});

// The day kind's name as text: "normal", "polar_day", "polar_night" ("unknown" otherwise).
std::string_view day_kind_name(DayKind kind);

}  // namespace astro
