// SPDX-License-Identifier: MIT
// The Sun's apparent geocentric right ascension and declination from RIZAR (precession,
// nutation and refraction on) against ERFA, every STEP days from 1900 January 1 0h to the
// end of 2099, and the pieces of the difference. Built and run by scripts/accuracy; ERFA is
// a dependency of this measurement only, never of the library.
//
// Reference (ERFA): the Earth's barycentric and heliocentric position and velocity from
// eraEpv00; the Sun's barycentric position brought back by the light time; stellar
// aberration with the Earth's barycentric velocity (eraAb); frame bias, IAU 2006 precession
// and IAU 2000A nutation to the true equator and equinox of date (eraPnm06a). The same
// Julian Date is taken as UT by the library and as TT (= TDB here) by ERFA: no Delta T.
#include <erfa.h>
#include <erfaextra.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "solar/solar.hpp"
#include "timeutil/timeutil.hpp"

namespace {

constexpr double kFirstJd = 2415020.5;  // 1900 January 1, 0h
constexpr double kEndJd = 2488069.5;    // 2100 January 1, 0h (not included)
constexpr double kEarthMoonMassRatio = 81.3005690699;  // IAU 2009

// Largest and root-mean-square size of a difference, and the instant of the largest.
struct Stat {
  double max = 0, sum2 = 0, at = 0;
  long n = 0;
  void add(double x, double jd) {
    const double a = std::fabs(x);
    if (a > max) max = a, at = jd;
    sum2 += x * x;
    ++n;
  }
  double rms() const { return n ? std::sqrt(sum2 / n) : 0; }
};

struct Stats {
  Stat ra_cosdec, dec, sep;  // RIZAR against the apparent place
  Stat sep_geometric;        // RIZAR against the geometric place (no light time, no aberration)
  Stat sep_j2000_obliquity;  // the same chain turned by EPS_EARTH(0), against the geometric place
  Stat orbit_lon, orbit_lat; // the Earth's orbit alone, in the ecliptic and equinox of J2000.0
  Stat emb_lon, emb_lat;     // the same orbit against the Earth-Moon barycentre
  Stat helat;                // RIZAR's HeLat against the geometric latitude on the ecliptic of date
  Stat helat_j2000_obliquity;  // HeLat of the chain turned first by EPS_EARTH(0)
  Stat helat_true_obliquity;   // the same, turned back by the true obliquity eps + deps
  Stat dpsi, deps;           // NUTATE_ANGLE against IAU 2000A nutation
  Stat hour_angle;           // RIZAR's HA against GAST minus the apparent RA, times cos(dec)
  Stat gmst;                 // LST's Greenwich mean sidereal time against IAU 2006, as an angle
  Stat equinoxes;            // the equation of the equinoxes, which LST leaves out
  Stat light_time, aberration;  // the size of each effect itself
  Stat replica;              // the replica chain with EPS_EARTH(T) against RIZAR (a check)
};

double arcsec(double rad) { return rad * ERFA_DR2AS; }

void unit(const double p[3], double u[3]) {
  const double r = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
  for (int k = 0; k < 3; ++k) u[k] = p[k] / r;
}

// RA/Dec difference a - b: RA difference times cos(dec), dec difference, separation; arcsec.
void compare(double ra_a, double de_a, double ra_b, double de_b, double& dra, double& dde,
             double& sep) {
  dra = arcsec(eraAnpm(ra_a - ra_b) * std::cos(de_b));
  dde = arcsec(de_a - de_b);
  double pa[3], pb[3];
  eraS2c(ra_a, de_a, pa);
  eraS2c(ra_b, de_b, pb);
  sep = arcsec(eraSepp(pa, pb));
}

// The library's chain, as RIZAR runs it, with a chosen obliquity for the first turn: right
// ascension and declination, the geocentric Sun on the J2000.0 ecliptic, and the ecliptic
// latitude read back by the mean obliquity of date (as RIZAR does) and by the true one.
void library_chain(double jd, double first_eps, double& ra, double& de, astro::Vector3& ecl,
                   double& lat_mean, double& lat_true) {
  const double T = (jd - 2451545.0) / 36525;
  astro::ElementSet earth;
  astro::ELMTS_PLANET(3, T, earth);
  astro::Vector3 x, y;
  astro::EPH(earth, x);
  ecl = {-x[0], -x[1], -x[2]};
  astro::ROTAT1(ecl, y, -first_eps);
  double zeta, z, theta;
  astro::PRECES_ANGLE(0.0, T, zeta, z, theta);
  astro::PRECES(y, zeta, z, theta);
  double dpsi, deps;
  astro::NUTATE_ANGLE(T, dpsi, deps);
  astro::NUTATE(y, astro::EPS_EARTH(T), dpsi, deps);
  eraC2s(y.data(), &ra, &de);
  ra = eraAnp(ra);
  double lon;
  astro::Vector3 back;
  astro::ROTAT1(y, back, astro::EPS_EARTH(T));
  eraC2s(back.data(), &lon, &lat_mean);
  astro::ROTAT1(y, back, astro::EPS_EARTH(T) + deps);
  eraC2s(back.data(), &lon, &lat_true);
}

void sample(double jd, Stats& s) {
  const double T = (jd - 2451545.0) / 36525;

  // ERFA: geometric and apparent places, true equator and equinox of date.
  double pvh[2][3], pvb[2][3];
  eraEpv00(jd, 0.0, pvh, pvb);
  double sun_geo[3], sun_lt[3];
  const double dist = std::sqrt(eraPdp(pvh[0], pvh[0]));
  const double tau = dist / ERFA_DC;  // light time, days
  for (int k = 0; k < 3; ++k) {
    sun_geo[k] = -pvh[0][k];
    const double sun_bary_velocity = pvb[1][k] - pvh[1][k];
    sun_lt[k] = -pvh[0][k] - sun_bary_velocity * tau;
  }
  double u_geo[3], u_lt[3], u_app[3], v[3];
  unit(sun_geo, u_geo);
  unit(sun_lt, u_lt);
  for (int k = 0; k < 3; ++k) v[k] = pvb[1][k] / ERFA_DC;
  const double bm1 = std::sqrt(1.0 - eraPdp(v, v));
  eraAb(u_lt, v, dist, bm1, u_app);
  s.light_time.add(arcsec(eraSepp(u_geo, u_lt)), jd);
  s.aberration.add(arcsec(eraSepp(u_lt, u_app)), jd);

  double npb[3][3], p_app[3], p_geo[3];
  eraPnm06a(jd, 0.0, npb);
  eraRxp(npb, u_app, p_app);
  eraRxp(npb, u_geo, p_geo);
  double ra_app, de_app, ra_geo, de_geo;
  eraC2s(p_app, &ra_app, &de_app);
  eraC2s(p_geo, &ra_geo, &de_geo);
  ra_app = eraAnp(ra_app);
  ra_geo = eraAnp(ra_geo);

  // The library, all switches on, at the Greenwich meridian on the equator.
  double AZ, HT, RA, DE, HA, HeLong, HeLat;
  astro::RIZAR(jd, 0.0, 0.0, 1, 1, 1, AZ, HT, RA, DE, HA, HeLong, HeLat);

  double dra, dde, sep;
  compare(RA, DE, ra_app, de_app, dra, dde, sep);
  s.ra_cosdec.add(dra, jd);
  s.dec.add(dde, jd);
  s.sep.add(sep, jd);
  compare(RA, DE, ra_geo, de_geo, dra, dde, sep);
  s.sep_geometric.add(sep, jd);

  double ra_rep, de_rep, ra_fix, de_fix, lat_mean, lat_true;
  astro::Vector3 ecl;
  library_chain(jd, astro::EPS_EARTH(T), ra_rep, de_rep, ecl, lat_mean, lat_true);
  compare(ra_rep, de_rep, RA, DE, dra, dde, sep);
  s.replica.add(sep, jd);
  library_chain(jd, astro::EPS_EARTH(0.0), ra_fix, de_fix, ecl, lat_mean, lat_true);
  compare(ra_fix, de_fix, ra_geo, de_geo, dra, dde, sep);
  s.sep_j2000_obliquity.add(sep, jd);

  // The orbit alone: the geocentric Sun in the ecliptic and equinox of J2000.0.
  double ecm[3][3], p_ecl[3], lon_ref, lat_ref, lon_lib, lat_lib;
  eraEcm06(ERFA_DJ00, 0.0, ecm);
  eraRxp(ecm, u_geo, p_ecl);
  eraC2s(p_ecl, &lon_ref, &lat_ref);
  eraC2s(ecl.data(), &lon_lib, &lat_lib);
  s.orbit_lon.add(arcsec(eraAnpm(lon_lib - lon_ref) * std::cos(lat_ref)), jd);
  s.orbit_lat.add(arcsec(lat_lib - lat_ref), jd);
  double moon[2][3], emb[3], u_emb[3];
  eraMoon98(jd, 0.0, moon);
  for (int k = 0; k < 3; ++k) emb[k] = sun_geo[k] - moon[0][k] / (1 + kEarthMoonMassRatio);
  unit(emb, u_emb);
  eraRxp(ecm, u_emb, p_ecl);
  eraC2s(p_ecl, &lon_ref, &lat_ref);
  s.emb_lon.add(arcsec(eraAnpm(lon_lib - lon_ref) * std::cos(lat_ref)), jd);
  s.emb_lat.add(arcsec(lat_lib - lat_ref), jd);

  // HeLat against the geometric latitude on the mean ecliptic of date.
  eraEcm06(jd, 0.0, ecm);
  eraRxp(ecm, u_geo, p_ecl);
  eraC2s(p_ecl, &lon_ref, &lat_ref);
  s.helat.add(arcsec(HeLat - lat_ref), jd);
  s.helat_j2000_obliquity.add(arcsec(lat_mean - lat_ref), jd);
  s.helat_true_obliquity.add(arcsec(lat_true - lat_ref), jd);

  double dpsi, deps, dpsi_ref, deps_ref;
  astro::NUTATE_ANGLE(T, dpsi, deps);
  eraNut06a(jd, 0.0, &dpsi_ref, &deps_ref);
  s.dpsi.add(arcsec(dpsi - dpsi_ref), jd);
  s.deps.add(arcsec(deps - deps_ref), jd);

  // Hour angle at the Greenwich meridian, JD taken as UT1 and as TT.
  const double ha_ref = eraGst06a(jd, 0.0, jd, 0.0) - ra_app;
  s.hour_angle.add(arcsec(eraAnpm(HA - ha_ref) * std::cos(de_app)), jd);
  double gmst0, gmst, lst;
  astro::LST(jd, 0.0, gmst0, gmst, lst);
  s.gmst.add(arcsec(eraAnpm(gmst * ERFA_D2PI / 24 - eraGmst06(jd, 0.0, jd, 0.0))), jd);
  s.equinoxes.add(arcsec(eraEe06a(jd, 0.0)), jd);
}

// Calendar date of a Julian Date as YYYY-MM-DD.
const char* date(double jd) {
  static char text[16];
  int y, m, d;
  double f;
  eraJd2cal(jd, 0.0, &y, &m, &d, &f);
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
  return text;
}

void line(const char* what, const Stat& s) {
  std::printf("  %-52s max %7.2f\" (%s)  rms %7.2f\"\n", what, s.max, date(s.at), s.rms());
}

}  // namespace

int main(int argc, char** argv) {
  const double step = argc > 1 ? std::atof(argv[1]) : 10.0;
  if (!(step > 0)) {
    std::fprintf(stderr, "usage: sun_vs_erfa [STEP_DAYS]\n");
    return 2;
  }
  Stats all;
  std::map<int, Stats> decades;
  for (long i = 0;; ++i) {
    const double jd = kFirstJd + i * step;
    if (jd >= kEndJd) break;
    int y, m, d;
    double f;
    eraJd2cal(jd, 0.0, &y, &m, &d, &f);
    sample(jd, all);
    sample(jd, decades[(y / 10) * 10]);
  }

  std::printf("The Sun from RIZAR (precession, nutation, refraction on) against ERFA %s\n",
              eraVersion());
  std::printf("%ld instants %g days apart, at 0h from 1900-01-01 to %s; JD taken as TT and UT\n\n",
              all.sep.n, step, date(kFirstJd + (all.sep.n - 1) * step));
  std::printf("RIZAR against the apparent place (true equator and equinox of date):\n");
  line("right ascension difference times cos(declination)", all.ra_cosdec);
  line("declination difference", all.dec);
  line("angular separation", all.sep);
  std::printf("\nPieces of the difference (separations and angle differences):\n");
  line("RIZAR against the geometric place", all.sep_geometric);
  line("same chain, first turn by EPS_EARTH(0), vs geometric", all.sep_j2000_obliquity);
  line("orbit alone, J2000 ecliptic: longitude x cos(lat)", all.orbit_lon);
  line("orbit alone, J2000 ecliptic: latitude", all.orbit_lat);
  line("orbit alone vs Earth-Moon barycentre: longitude", all.emb_lon);
  line("orbit alone vs Earth-Moon barycentre: latitude", all.emb_lat);
  line("HeLat minus latitude on the mean ecliptic of date", all.helat);
  line("same, first turn by EPS_EARTH(0)", all.helat_j2000_obliquity);
  line("same, and turned back by the true obliquity", all.helat_true_obliquity);
  line("NUTATE_ANGLE minus IAU 2000A: in longitude", all.dpsi);
  line("NUTATE_ANGLE minus IAU 2000A: in obliquity", all.deps);
  line("HA minus (GAST - apparent RA), times cos(dec)", all.hour_angle);
  line("LST's mean sidereal time minus IAU 2006 GMST", all.gmst);
  line("size of the equation of the equinoxes (not applied)", all.equinoxes);
  line("size of the light-time correction (not applied)", all.light_time);
  line("size of the annual aberration (not applied)", all.aberration);
  line("check: replica of RIZAR's chain against RIZAR", all.replica);

  std::printf("\nBy decade, arcseconds; \"J2000 obl.\": the same chain with the first turn by "
              "EPS_EARTH(0)\n");
  std::printf("         ------ against the apparent place ------  vs geometric place   orbit "
              "  HeLat - ecliptic of date\n");
  std::printf("decade   max dRAcosd max dDec  rms sep  max sep   RIZAR  J2000 obl.  max dlon "
              "  RIZAR  J2000 obl.\n");
  for (const auto& [decade, s] : decades) {
    std::printf("%4d-%02d  %11.1f %8.1f %8.1f %8.1f %7.1f %11.1f %9.1f %7.1f %11.1f\n",
                decade, (decade + 9) % 100, s.ra_cosdec.max, s.dec.max, s.sep.rms(), s.sep.max,
                s.sep_geometric.max, s.sep_j2000_obliquity.max, s.orbit_lon.max, s.helat.max,
                s.helat_j2000_obliquity.max);
  }
  return 0;
}
