// SPDX-License-Identifier: MIT
// PARCOR: the equator, the geometry of the site vector, and the shared site record.
#include <gtest/gtest.h>

#include <cmath>

#include "core/constants.hpp"
#include "orbit/parallax.hpp"
#include "orbit/site.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {
namespace {

const double kSinPi0 = std::sin(4.266360382749199e-05);  // Earth's equatorial radius, AU
constexpr double kEarthRadiusKm = 6378.140;
constexpr double kAuTolerance = 1e-19;  // AU, a few units in the last place of 4e-5

// Each test sets the site it needs and puts the previous one back.
class Parcor : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = observing_site; }
  void TearDown() override { observing_site = saved_; }

  static Vector3 at(double jd, double longitude, double latitude, double height) {
    observing_site = {longitude, latitude, height, 0.0};
    Vector3 v;
    PARCOR(jd, v);
    return v;
  }

 private:
  ObservingSite saved_{};
};

double equatorial_length(const Vector3& v) { return std::hypot(v[0], v[1]); }

// On the equator at sea level the vector is -sin(pi0) (cos theta, sin theta, 0), theta the
// local sidereal time of LST in radians. At JD 2451545.0 (2000 January 1, 12h UT) Greenwich
// mean sidereal time is 18.697374558 h = 4.89496121 rad (IAU 1982 expression); LST's
// single-precision coefficients stay within 1e-5 rad of it.
TEST_F(Parcor, EquatorAtSeaLevel) {
  const double jd = 2451545.0;
  const Vector3 v = at(jd, 0.0, 0.0, 0.0);
  double gmst0, gmst, lst;
  LST(jd, 0.0, gmst0, gmst, lst);
  const double theta = NULA2PI(lst / 12.0 * kPi);
  EXPECT_NEAR(v[0], -kSinPi0 * std::cos(theta), kAuTolerance);
  EXPECT_NEAR(v[1], -kSinPi0 * std::sin(theta), kAuTolerance);
  EXPECT_EQ(v[2], 0.0);
  EXPECT_NEAR(std::remainder(std::atan2(-v[1], -v[0]) - 4.89496121, kTwoPi), 0, 1e-5);
}

// Only the sidereal time turns the vector: over a day and a century its equatorial part keeps
// its length while its direction sweeps round.
TEST_F(Parcor, EquatorialLengthDoesNotDependOnTheInstant) {
  const double kLatitude = 0.87, kHeight = 1500.0;
  const double want = equatorial_length(at(2451545.0, 0.25, kLatitude, kHeight));
  for (const double jd : {2451545.1, 2451545.35, 2451545.6, 2451545.85, 2488070.0, 2415020.5}) {
    SCOPED_TRACE(jd);
    const Vector3 v = at(jd, 0.25, kLatitude, kHeight);
    EXPECT_NEAR(equatorial_length(v), want, kAuTolerance);
  }
  // A quarter of a day turns it by a quarter of a sidereal day's turn (rate 1.0027379).
  const Vector3 v1 = at(2451545.1, 0.25, kLatitude, kHeight);
  const Vector3 v2 = at(2451545.35, 0.25, kLatitude, kHeight);
  const double turn = std::atan2(v2[1], v2[0]) - std::atan2(v1[1], v1[0]);
  EXPECT_NEAR(std::remainder(turn - 0.25 * 1.0027379 * kTwoPi, kTwoPi), 0, 1e-6);
}

// The direction is the geodetic latitude; north and south mirror each other, so a southern
// site gives a positive third component.
TEST_F(Parcor, DirectionFollowsTheGeodeticLatitude) {
  struct Case {
    const char* label;
    double latitude, height;
  };
  const Case kCases[] = {
      {"Ondrejov", 0.8718, 528.0}, {"Siding Spring", -0.5464, 1165.0}, {"Mauna Kea", 0.3459, 4205.0},
      {"near the south pole", -1.5, 2835.0}, {"close to the north pole", 1.5707963, 0.0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    const Vector3 north = at(2451600.3, 0.3, c.latitude, c.height);
    const Vector3 south = at(2451600.3, 0.3, -c.latitude, c.height);
    EXPECT_NEAR(std::atan2(-north[2], equatorial_length(north)), c.latitude, 1e-13);
    EXPECT_EQ(south[2], -north[2]);
    EXPECT_EQ(south[0], north[0]);
    EXPECT_TRUE(std::isfinite(north[2]));
    if (c.latitude < 0) {
      EXPECT_GT(north[2], 0);
    } else {
      EXPECT_LT(north[2], 0);
    }
  }
}

// The length rho = (h + C) cos phi' / cos phi with the geodetic direction: at 45 degrees and
// sea level it is 1.0050355 equatorial radii, while the textbook site vector
// ((C + h) cos phi, (S + h) sin phi) ends 47.84 km away, 42.8 km shorter and 21.4 km aside
// (hand computation with the routine's e^2: C = 1.0016776, S = 0.9949729,
// phi' = 44.80760 degrees).
TEST_F(Parcor, DiffersFromTheTextbookSiteVectorByTensOfKilometres) {
  const double phi = 0.25 * kPi;
  const Vector3 v = at(2451545.0, 0.0, phi, 0.0);
  EXPECT_NEAR(std::hypot(equatorial_length(v), v[2]) / kSinPi0, 1.0050355, 1e-7);

  const double e2 = 0.00669342162244941;
  const double root = std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
  const double textbook_equatorial = kSinPi0 * std::cos(phi) / root;
  const double textbook_z = kSinPi0 * (1 - e2) * std::sin(phi) / root;
  const double km = std::hypot(equatorial_length(v) - textbook_equatorial, -v[2] - textbook_z) /
                    kSinPi0 * kEarthRadiusKm;
  EXPECT_NEAR(km, 47.84, 0.01);
}

// The length of the vector at high and low sites against the textbook site coordinates on
// the same ellipsoid (a = 6378140 m, e^2 = 0.00669342162244941), computed here in long double:
// with N = a / sqrt(1 - e^2 sin^2 phi) the site lies at ((N + H) cos phi, (N (1 - e^2) + H)
// sin phi) from the Earth's centre, at the distance r and geocentric latitude phi', and the
// routine's rho = (h + C) cos phi' / cos phi is (N + H)^2 / (a r). The vector is
// -sin(pi0) rho (cos phi cos theta, cos phi sin theta, sin phi). Its height term scales with
// the equatorial radius: 6378137 m instead of 6378140 m lengthens it by 3e-10 of itself at
// 4205 m, 4e-11 at 528 m, far beyond the tolerance of 1e-14 equatorial radii (0.06 um; the
// two computations agree to 5e-16).
TEST_F(Parcor, LengthAtAHeightAgreesWithTheSiteCoordinates) {
  struct Case {
    const char* label;
    double latitude_deg, height;  // geodetic, degrees; metres
  };
  const Case kCases[] = {
      {"Mauna Kea", 19.8207, 4205.0},
      {"Chajnantor", -23.0229, 5058.0},
      {"Ondrejov", 49.9106, 528.0},
      {"high in the Arctic", 78.2, 3000.0},
  };
  constexpr long double a = 6378140.0L;
  constexpr long double e2 = 0.00669342162244941L;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    const double phi = c.latitude_deg * (kPi / 180);
    const long double sin_phi = std::sin(static_cast<long double>(phi));
    const long double cos_phi = std::cos(static_cast<long double>(phi));
    const long double N = a / std::sqrt(1 - e2 * sin_phi * sin_phi);
    const long double along_equator = (N + c.height) * cos_phi;
    const long double along_axis = (N * (1 - e2) + c.height) * sin_phi;
    const long double r = std::sqrt(along_equator * along_equator + along_axis * along_axis);
    const long double rho = (N + c.height) * (N + c.height) / (a * r);

    const Vector3 v = at(2451545.0 + 0.37, 0.3, phi, c.height);
    const double length = std::hypot(equatorial_length(v), v[2]);
    EXPECT_NEAR(length / kSinPi0, static_cast<double>(rho), 1e-14);
    EXPECT_NEAR(v[2] / kSinPi0, static_cast<double>(-rho * sin_phi), 1e-14);
  }
}

// The record is read at every call: a change of site between two calls takes effect, and a
// quarter turn east turns the equatorial part by a quarter turn.
TEST_F(Parcor, ReadsTheSiteAtEveryCall) {
  const double jd = 2451700.25;
  const Vector3 west = at(jd, -0.4, 0.7, 300.0);
  const Vector3 east = at(jd, -0.4 + 0.5 * kPi, 0.7, 300.0);
  EXPECT_NEAR(east[0], -west[1], 1e-14);
  EXPECT_NEAR(east[1], west[0], 1e-14);
  EXPECT_EQ(east[2], west[2]);

  const Vector3 higher = at(jd, -0.4, 0.7, 3000.0);
  EXPECT_GT(std::hypot(equatorial_length(higher), higher[2]),
            std::hypot(equatorial_length(west), west[2]));
}

// Values that are not finite give NaN components rather than an exception; an instant so far
// off that sidereal time leaves the 32-bit range raises RangeError, as documented.
TEST_F(Parcor, NonFiniteInputGivesNan) {
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  struct Case {
    const char* label;
    double jd, longitude, latitude, height;
  };
  const Case kCases[] = {
      {"NaN instant", nan, 0.1, 0.5, 0.0},        {"infinite instant", inf, 0.1, 0.5, 0.0},
      {"minus infinite instant", -inf, 0.1, 0.5, 0.0}, {"infinite longitude", 2451545.0, inf, 0.5, 0.0},
      {"NaN latitude", 2451545.0, 0.1, nan, 0.0}, {"infinite height", 2451545.0, 0.1, 0.5, inf},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    Vector3 v;
    ASSERT_NO_THROW(v = at(c.jd, c.longitude, c.latitude, c.height));
    EXPECT_TRUE(std::isnan(v[0]));
    EXPECT_TRUE(std::isnan(v[1]));
  }
  EXPECT_THROW(at(1e13, 0.1, 0.5, 0.0), RangeError);
}

}  // namespace
}  // namespace astro
