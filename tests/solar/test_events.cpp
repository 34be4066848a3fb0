// SPDX-License-Identifier: MIT
// Sunrise, sunset, transits and twilights: a published almanac, polar day and night, two
// sunrises in one day, the date line, and that every event is the chain's own crossing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/constants.hpp"
#include "solar/events.hpp"
#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

constexpr double kSecond = 1.0 / 86400;  // days
constexpr double kMinute = 60 * kSecond;

Site site_deg(double latitude_deg, double longitude_deg, double height_m = 0) {
  return Site{latitude_deg * kDegToRad, longitude_deg * kDegToRad, height_m};
}

// The geometric height of the chain that the events are defined on.
double chain_height(double jd, const Site& site) {
  SunOptions chain;
  chain.refraction = false;
  return sun_position(jd, site, chain).height;
}

double chain_hour_angle(double jd, const Site& site) {
  SunOptions chain;
  chain.refraction = false;
  return sun_position(jd, site, chain).hour_angle;
}

std::vector<SunEvent> of_kind(const std::vector<SunEvent>& events, SunEventKind kind) {
  std::vector<SunEvent> out;
  for (const SunEvent& e : events) {
    if (e.kind == kind) out.push_back(e);
  }
  return out;
}

bool is_transit(SunEventKind k) {
  return k == SunEventKind::transit || k == SunEventKind::lower_transit;
}

double level_of(SunEventKind k, double horizon = kSunriseHorizon) {
  switch (k) {
    case SunEventKind::sunrise:
    case SunEventKind::sunset: return horizon;
    case SunEventKind::civil_dawn:
    case SunEventKind::civil_dusk: return -6 * kDegToRad;
    case SunEventKind::nautical_dawn:
    case SunEventKind::nautical_dusk: return -12 * kDegToRad;
    default: return -18 * kDegToRad;
  }
}

TEST(SunEventNames, EveryKindByItsOwnName) {
  const std::pair<SunEventKind, const char*> kNames[] = {
      {SunEventKind::astronomical_dawn, "astronomical_dawn"},
      {SunEventKind::nautical_dawn, "nautical_dawn"},
      {SunEventKind::civil_dawn, "civil_dawn"},
      {SunEventKind::sunrise, "sunrise"},
      {SunEventKind::transit, "transit"},
      {SunEventKind::sunset, "sunset"},
      {SunEventKind::civil_dusk, "civil_dusk"},
      {SunEventKind::nautical_dusk, "nautical_dusk"},
      {SunEventKind::astronomical_dusk, "astronomical_dusk"},
      {SunEventKind::lower_transit, "lower_transit"},
  };
  for (const auto& [kind, name] : kNames) EXPECT_EQ(sun_event_name(kind), name);
  EXPECT_EQ(day_kind_name(DayKind::normal), "normal");
  EXPECT_EQ(day_kind_name(DayKind::polar_day), "polar_day");
  EXPECT_EQ(day_kind_name(DayKind::polar_night), "polar_night");
}

// U. S. Naval Observatory, Astronomical Applications Dept., "Rise and Set for the Sun for
// 2007", Atlanta, Georgia, W084 25, N33 46, Eastern Standard Time (UT - 5 h); the table as
// Debian's python3-ephem ships it (ephem/tests/usno/riset_sun.txt). The USNO places the
// Sun's centre 50' below the horizon, as the default here does, and rounds to the minute.
// Tolerance: 1 minute (half a minute of rounding, the model's ~30" of position and the
// 64 s of Delta T it leaves out come to a few seconds more).
TEST(SunEvents, AtlantaAgreesWithTheNavalObservatoryTable) {
  struct Case {
    const char* label;
    double jd_midnight_est;  // 0h EST of the day (5h UT)
    int rise_hhmm, set_hhmm;
  };
  const Case kCases[] = {
      {"2007 January 1", 2454101.5 + 5.0 / 24, 743, 1740},
      {"2007 March 21", 2454180.5 + 5.0 / 24, 640, 1850},
      {"2007 June 21", 2454272.5 + 5.0 / 24, 527, 1951},
      {"2007 September 23", 2454366.5 + 5.0 / 24, 626, 1833},
      {"2007 December 21", 2454455.5 + 5.0 / 24, 738, 1733},
  };
  const Site atlanta = site_deg(33 + 46.0 / 60, -(84 + 25.0 / 60));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    const std::vector<SunEvent> events = sun_events(atlanta, c.jd_midnight_est, c.jd_midnight_est + 1);
    const auto rises = of_kind(events, SunEventKind::sunrise);
    const auto sets = of_kind(events, SunEventKind::sunset);
    ASSERT_EQ(rises.size(), 1u);
    ASSERT_EQ(sets.size(), 1u);
    const auto local = [&](int hhmm) {
      return c.jd_midnight_est + (hhmm / 100) / 24.0 + (hhmm % 100) * kMinute;
    };
    EXPECT_NEAR(rises[0].jd_ut, local(c.rise_hhmm), kMinute);
    EXPECT_NEAR(sets[0].jd_ut, local(c.set_hhmm), kMinute);
    EXPECT_EQ(day_kind(atlanta, c.jd_midnight_est), DayKind::normal);
    // Rising in the east, setting in the west.
    EXPECT_LT(rises[0].azimuth, kPi);
    EXPECT_GT(sets[0].azimuth, kPi);
  }
}

// Tromso (69.65 N, 18.96 E): midsummer and midwinter 2026 are polar day and polar night;
// only the transits remain, and their heights tell the two apart.
TEST(SunEvents, PolarDayAndPolarNightHoldOnlyTransits) {
  const Site tromso = site_deg(69.6492, 18.9553);
  struct Case {
    const char* label;
    double jd;
    DayKind kind;
  };
  const Case kCases[] = {
      {"2026 June 21", 2461212.5, DayKind::polar_day},
      {"2026 December 21", 2461395.5, DayKind::polar_night},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    const std::vector<SunEvent> events = sun_events(tromso, c.jd, c.jd + 1);
    EXPECT_EQ(day_kind(tromso, c.jd), c.kind);
    EXPECT_TRUE(of_kind(events, SunEventKind::sunrise).empty());
    EXPECT_TRUE(of_kind(events, SunEventKind::sunset).empty());
    const auto transits = of_kind(events, SunEventKind::transit);
    const auto lower = of_kind(events, SunEventKind::lower_transit);
    ASSERT_EQ(transits.size(), 1u);
    ASSERT_EQ(lower.size(), 1u);
    if (c.kind == DayKind::polar_day) {
      EXPECT_GT(lower[0].height, kSunriseHorizon);  // the midnight Sun
      EXPECT_TRUE(events.size() == 2u);             // no twilight either
    } else {
      EXPECT_LT(transits[0].height, kSunriseHorizon);  // noon below the horizon
      // Civil twilight around noon: the Sun climbs to about -3 degrees.
      EXPECT_EQ(of_kind(events, SunEventKind::civil_dawn).size(), 1u);
      EXPECT_EQ(of_kind(events, SunEventKind::civil_dusk).size(), 1u);
    }
  }
}

// Oulu (65.0121 N, 25.4651 E), 2026 May 30 UT: the nights shorten by minutes a day, so the
// UT day opens with a sunrise at 00:03 and holds the next one at 23:59.7 (found with this
// library). Both are real upward crossings of the chain's height, a sunset lies between.
TEST(SunEvents, TwoSunrisesInOneDayNearThePolarCircle) {
  const Site oulu = site_deg(65.0121, 25.4651);
  const double day = 2461190.5;
  const std::vector<SunEvent> events = sun_events(oulu, day, day + 1);
  const auto rises = of_kind(events, SunEventKind::sunrise);
  const auto sets = of_kind(events, SunEventKind::sunset);
  ASSERT_EQ(rises.size(), 2u);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_LT(rises[0].jd_ut, sets[0].jd_ut);
  EXPECT_LT(sets[0].jd_ut, rises[1].jd_ut);
  EXPECT_LT(rises[0].jd_ut, day + 5 * kMinute);
  EXPECT_GT(rises[1].jd_ut, day + 1 - 5 * kMinute);
  for (const SunEvent& rise : rises) {
    EXPECT_LT(chain_height(rise.jd_ut - kMinute, oulu), kSunriseHorizon);
    EXPECT_GT(chain_height(rise.jd_ut + kMinute, oulu), kSunriseHorizon);
  }
  EXPECT_EQ(day_kind(oulu, day), DayKind::normal);
}

// Sites beside the date line, where noon falls within a quarter of an hour of 0h UT: UT
// days one by one give the same events as the whole year at once, none lost or doubled at
// the day boundaries, each inside its day, in time order; some days hold two transits and
// some none.
TEST(SunEvents, DateLineSitesSplitIntoUtDays) {
  const Site kSites[] = {site_deg(-16.8, 179.9), site_deg(-16.8, -179.9)};
  const double year = 2461041.5;  // 2026 January 1, 0h UT
  for (const Site& site : kSites) {
    SCOPED_TRACE(site.longitude > 0 ? "179.9 E" : "179.9 W");
    const std::vector<SunEvent> whole = sun_events(site, year, year + 365);
    std::vector<SunEvent> by_day;
    int two_transits = 0, no_transit = 0;
    for (int d = 0; d < 365; ++d) {
      const std::vector<SunEvent> day = sun_events(site, year + d, year + d + 1);
      int transits = 0;
      for (std::size_t k = 0; k < day.size(); ++k) {
        EXPECT_GE(day[k].jd_ut, year + d);
        EXPECT_LT(day[k].jd_ut, year + d + 1);
        if (k > 0) {
          EXPECT_LE(day[k - 1].jd_ut, day[k].jd_ut);
        }
        if (day[k].kind == SunEventKind::transit) ++transits;
      }
      two_transits += transits == 2;
      no_transit += transits == 0;
      by_day.insert(by_day.end(), day.begin(), day.end());
    }
    EXPECT_GT(two_transits, 0);
    EXPECT_GT(no_transit, 0);
    ASSERT_EQ(by_day.size(), whole.size());
    for (std::size_t k = 0; k < whole.size(); ++k) {
      EXPECT_EQ(by_day[k].kind, whole[k].kind);
      EXPECT_NEAR(by_day[k].jd_ut, whole[k].jd_ut, 0.01 * kSecond);
    }
  }
}

// A year of events at sites from the equator to beyond the polar circles: every event is
// the chain's own crossing within 0.1 s (its height, or its hour angle, off by no more than
// the chain's change in 0.1 s), the reported height is the chain's, and each pair of kinds
// alternates (sunrise, sunset, sunrise, ...), so no crossing was invented or lost.
TEST(SunEvents, EveryEventIsTheChainsOwnCrossing) {
  const Site kSites[] = {site_deg(0.2, -78.5), site_deg(33.77, -84.42), site_deg(-41.3, 174.8),
                         site_deg(65.0121, 25.4651), site_deg(69.6492, 18.9553),
                         site_deg(-77.85, 166.67)};
  const double from = 2461041.5, to = from + 365;
  for (const Site& site : kSites) {
    SCOPED_TRACE("latitude " + std::to_string(site.latitude / kDegToRad));
    const std::vector<SunEvent> events = sun_events(site, from, to);
    ASSERT_FALSE(events.empty());
    for (std::size_t k = 0; k < events.size(); ++k) {
      const SunEvent& e = events[k];
      ASSERT_GE(e.jd_ut, from);
      ASSERT_LT(e.jd_ut, to);
      if (k > 0) {
        ASSERT_LE(events[k - 1].jd_ut, e.jd_ut);
      }
      const double h = chain_height(e.jd_ut, site);
      EXPECT_NEAR(e.height, h, 0.01 / 3600 * kDegToRad);  // 0.01"
      if (is_transit(e.kind)) {
        double H = chain_hour_angle(e.jd_ut, site);
        if (e.kind == SunEventKind::lower_transit) H -= kPi;
        if (H > kPi) H -= kTwoPi;
        EXPECT_LT(std::fabs(H), 0.1 * kSecond * kTwoPi) << sun_event_name(e.kind) << " " << e.jd_ut;
      } else {
        const double rate = std::fabs(chain_height(e.jd_ut + kSecond, site) -
                                      chain_height(e.jd_ut - kSecond, site)) / 2;
        EXPECT_LE(std::fabs(h - level_of(e.kind)), 0.1 * rate)
            << sun_event_name(e.kind) << " " << e.jd_ut;
      }
    }
    const std::pair<SunEventKind, SunEventKind> kPairs[] = {
        {SunEventKind::sunrise, SunEventKind::sunset},
        {SunEventKind::civil_dawn, SunEventKind::civil_dusk},
        {SunEventKind::nautical_dawn, SunEventKind::nautical_dusk},
        {SunEventKind::astronomical_dawn, SunEventKind::astronomical_dusk},
        {SunEventKind::transit, SunEventKind::lower_transit},
    };
    for (const auto& [up, down] : kPairs) {
      SunEventKind last = up;
      bool first = true;
      for (const SunEvent& e : events) {
        if (e.kind != up && e.kind != down) continue;
        if (!first) {
          EXPECT_NE(e.kind, last) << sun_event_name(e.kind) << " twice at " << e.jd_ut;
        }
        last = e.kind;
        first = false;
      }
    }
    // Between two crossings of one height the chain stays on one side: sampled every 10
    // minutes, a sample on the wrong side would be a crossing that was lost.
    for (std::size_t k = 0; k + 1 < events.size(); ++k) {
      if (events[k].kind != SunEventKind::sunrise) continue;
      const auto next = std::find_if(events.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                                     events.end(), [](const SunEvent& e) {
                                       return e.kind == SunEventKind::sunset;
                                     });
      if (next == events.end()) break;
      for (double t = events[k].jd_ut + 10 * kMinute; t < next->jd_ut - kMinute; t += 10 * kMinute) {
        ASSERT_GT(chain_height(t, site), kSunriseHorizon) << t;
      }
    }
  }
}

// Another horizon and the dip: 100 m above the sea the sunrise horizon lies 17.6' lower,
// so the Sun rises earlier and sets later, at that height.
TEST(SunEvents, HorizonAndDipOfTheSiteHeight) {
  const Site low = site_deg(50.0833, 14.4167, 0);
  const Site high = site_deg(50.0833, 14.4167, 100);
  const double day = 2461201.5;
  SunEventOptions dip;
  dip.use_site_height = true;
  const auto plain = of_kind(sun_events(high, day, day + 1), SunEventKind::sunrise);
  const auto dipped = of_kind(sun_events(high, day, day + 1, dip), SunEventKind::sunrise);
  const auto at_sea = of_kind(sun_events(low, day, day + 1, dip), SunEventKind::sunrise);
  ASSERT_EQ(plain.size(), 1u);
  ASSERT_EQ(dipped.size(), 1u);
  ASSERT_EQ(at_sea.size(), 1u);
  EXPECT_EQ(at_sea[0].jd_ut, plain[0].jd_ut);
  EXPECT_LT(dipped[0].jd_ut, plain[0].jd_ut - 2 * kMinute);
  const double want = kSunriseHorizon - 17.6 / 60 * kDegToRad;
  EXPECT_NEAR(dipped[0].height, want, 0.1 / 3600 * kDegToRad);

  SunEventOptions geometric;
  geometric.horizon = 0;
  const auto centre = of_kind(sun_events(low, day, day + 1, geometric), SunEventKind::sunrise);
  ASSERT_EQ(centre.size(), 1u);
  EXPECT_NEAR(centre[0].height, 0, 0.1 / 3600 * kDegToRad);
  EXPECT_GT(centre[0].jd_ut, plain[0].jd_ut + 2 * kMinute);
}

TEST(SunEvents, RangesAndOptionsOutsideTheDomain) {
  const Site prague = site_deg(50.0833, 14.4167);
  EXPECT_TRUE(sun_events(prague, 2461201.5, 2461201.5).empty());
  EXPECT_TRUE(sun_events(prague, 2461202.5, 2461201.5).empty());
  EXPECT_THROW(sun_events(prague, std::nan(""), 2461201.5), RangeError);
  EXPECT_THROW(sun_events(prague, 2461201.5, HUGE_VAL), RangeError);
  // A range longer than 10,000 years is refused at once rather than searched for hours.
  EXPECT_THROW(sun_events(prague, 2461201.5, 2461201.5 + 3652500.5), RangeError);
  SunEventOptions bad;
  bad.horizon = 2.0;
  EXPECT_THROW(sun_events(prague, 2461201.5, 2461202.5, bad), std::invalid_argument);
  bad.horizon = std::nan("");
  EXPECT_THROW(day_kind(prague, 2461201.5, bad), std::invalid_argument);
}

}  // namespace
}  // namespace astro
