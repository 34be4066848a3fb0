# SPDX-License-Identifier: MIT
# `astro ephemeris` for (1) Ceres against PyEphem's two-body place from the same catalogue
# line, and against Ceres' real CCD observations in data/mpc/ceres.obs.
#   python3 ephemeris_compare.py ASTRO ROOT
import math
import statistics
import subprocess
import sys

import ephem

astro, root = sys.argv[1], sys.argv[2]
catalogue = f"{root}/data/catalogue/elements.txt"
line = next(l for l in open(catalogue) if l.startswith("00001 Ceres"))
a, e, inc, node, peri = (float(line[35:45]), float(line[45:54]), float(line[55:63]),
                         float(line[64:73]), float(line[74:83]))
m0, epoch = float(line[85:94]), float(line[95:104])

body = ephem.EllipticalBody()
body._a, body._e, body._inc, body._Om, body._om, body._M = a, e, inc, node, peri, m0
body._epoch_M = ephem.Date(epoch - 2415020.0)  # PyEphem's dates count from JD 2415020.0
body._epoch = ephem.Date("2000/1/1.5")          # elements on the J2000.0 ecliptic
body._H, body._G = 3.34, 0.12


def run(start, step, count):
    out = subprocess.run([astro, "ephemeris", "--catalogue", catalogue, "--object", "Ceres",
                          "--start", start, "--step", step, "--count", str(count), "--format",
                          "csv"], check=True, capture_output=True, text=True).stdout
    rows = []
    for row in out.splitlines()[1:]:
        f = row.split(",")
        rows.append([float(x) for x in f[1:]])
    return rows


def separation(ra1, dec1, ra2, dec2):
    """Angle between two directions, arcseconds (degrees in)."""
    r1, d1, r2, d2 = map(math.radians, (ra1, dec1, ra2, dec2))
    x = math.sin(d1) * math.sin(d2) + math.cos(d1) * math.cos(d2) * math.cos(r1 - r2)
    y = math.hypot(math.cos(d2) * math.sin(r1 - r2),
                   math.cos(d1) * math.sin(d2) - math.sin(d1) * math.cos(d2) * math.cos(r1 - r2))
    return math.degrees(math.atan2(y, x)) * 3600


print("## Against PyEphem (the same elements, two-body motion, PyEphem's own Earth)\n")
print("| span | rows | place: median | max | delta: max | r: max | elongation: max |")
print("|---|---|---|---|---|---|---|")
for label, start, step, count in (("2013-11-04 to 2014-11-04, every 5 days", "jd:2456600.5", "5d", 74),
                                  ("2026, every 5 days", "2026-01-01", "5d", 73),
                                  ("2000 to 2030, every 50 days", "2000-01-01", "50d", 220)):
    seps, dd, dr, de = [], [], [], []
    for jd, ra, dec, delta, r, elong in run(start, step, count):
        body.compute(ephem.Date(jd - 2415020.0), epoch=ephem.J2000)
        seps.append(separation(ra, dec, math.degrees(body.a_ra), math.degrees(body.a_dec)))
        dd.append(abs(delta - body.earth_distance))
        dr.append(abs(r - body.sun_distance))
        de.append(abs(elong - abs(math.degrees(body.elong))) * 3600)
    print(f"| {label} | {len(seps)} | {statistics.median(seps):.2f}\" | {max(seps):.2f}\" | "
          f"{max(dd):.1e} au | {max(dr):.1e} au | {max(de):.1f}\" |")

print("\n## Against Ceres' CCD observations (data/mpc/ceres.obs, MPC)\n")
obs = []
for l in open(f"{root}/data/mpc/ceres.obs"):
    if len(l) < 56 or l[14] != "C":
        continue
    y, mo, d = int(l[15:19]), int(l[20:22]), float(l[23:32])
    ra = (int(l[32:34]) + int(l[35:37]) / 60 + float(l[38:44]) / 3600) * 15
    sign = -1 if l[44] == "-" else 1
    dec = sign * (int(l[45:47]) + int(l[48:50]) / 60 + float(l[51:56]) / 3600)
    jd = ephem.julian_date(ephem.Date(f"{y}/{mo}/1")) + d - 1
    obs.append((jd, ra, dec))
seps = []
for jd, ra, dec in obs:
    (row,) = run(f"jd:{jd!r}", "1h", 1)
    seps.append((jd, separation(row[1], row[2], ra, dec)))
first, last = seps[0][0], seps[-1][0]
print(f"{len(seps)} observations, JD {first:.1f} to {last:.1f} "
      f"({first - epoch:.0f} to {last - epoch:.0f} days after the catalogue epoch)\n")
print("| days after the epoch | observations | median | max |")
print("|---|---|---|---|")
for lo, hi in ((0, 100), (100, 200), (200, 400)):
    s = [x for t, x in seps if lo <= t - epoch < hi]
    if s:
        print(f"| {lo}-{hi} | {len(s)} | {statistics.median(s):.1f}\" | {max(s):.1f}\" |")
