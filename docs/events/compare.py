#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# compare.py EVENTS_CSV [YEAR]: the library's sunrise, sunset, transits and twilights against
# PyEphem for one year at a set of sites; run by scripts/events-accuracy, see docs/events.md.
#
# PyEphem (Debian's python3-ephem) with pressure 0 (no refraction of its own), the Sun's
# centre (use_center=True), horizon -0:50 for sunrise and sunset and -6, -12, -18 degrees for
# the twilights, so that both sides look for the same geometric height of the Sun's centre.
# PyEphem's Sun is apparent and topocentric (aberration, parallax, Delta T); the library's is
# geometric and geocentric: the differences measure the model, not the root finding.
import bisect
import datetime
import os
import statistics
import subprocess
import sys

import ephem

DUBLIN_JD = 2415020.0  # ephem.Date counts days from 1899 December 31, 12h
SECOND = 1.0 / 86400
MATCH = 30 * 60 * SECOND  # an event farther than 30 minutes from any of its kind is unmatched

# A dozen and more sites from the equator to 70 degrees, north and south, east and west,
# beside the date line on both sides.
SITES = [
    ("Quito", -0.18, -78.47),
    ("Singapore", 1.35, 103.82),
    ("Nairobi", -1.29, 36.82),
    ("Apia", -13.83, -171.76),
    ("Suva", -18.14, 178.44),
    ("Honolulu", 21.31, -157.86),
    ("Atlanta", 33.77, -84.42),
    ("Sydney", -33.87, 151.21),
    ("Prague", 50.08, 14.42),
    ("Punta Arenas", -53.16, -70.91),
    ("Reykjavik", 64.15, -21.94),
    ("Anadyr", 64.73, 177.51),
    ("Fairbanks", 64.84, -147.72),
    ("Davis Station", -68.58, 77.97),
    ("Tromso", 69.65, 18.96),
]

LEVELS = [
    ("sunrise", "sunset", "-0:50"),
    ("civil_dawn", "civil_dusk", "-6"),
    ("nautical_dawn", "nautical_dusk", "-12"),
    ("astronomical_dawn", "astronomical_dusk", "-18"),
]
KINDS = [k for rise, set_, _ in LEVELS for k in (rise, set_)] + ["transit", "lower_transit"]


def library_events(exe, lat, lon, jd_from, jd_to):
    out = subprocess.run([exe, str(lat), str(lon), repr(jd_from), repr(jd_to)], check=True,
                         capture_output=True, text=True).stdout
    events = {k: [] for k in KINDS}
    for line in out.splitlines():
        kind, jd, _az, _h = line.split(",")
        events[kind].append(float(jd))
    return events


def pyephem_series(step, jd_from, jd_to):
    """Every instant step(start) gives from jd_from on, below jd_to."""
    times = []
    start = jd_from
    while start < jd_to:
        try:
            jd = float(step(ephem.Date(start - DUBLIN_JD))) + DUBLIN_JD
        except ephem.CircumpolarError:
            start += 1.0 / 24  # no crossing within the next turn: look again an hour on
            continue
        if jd >= jd_to:
            break
        if not times or jd > times[-1] + SECOND:
            times.append(jd)
        start = jd + 10 * SECOND
    return times


def pyephem_events(lat, lon, jd_from, jd_to):
    obs = ephem.Observer()
    obs.lat, obs.lon = str(lat), str(lon)
    obs.elevation = 0
    obs.pressure = 0
    sun = ephem.Sun()
    events = {}
    for rise, set_, horizon in LEVELS:
        obs.horizon = horizon
        events[rise] = pyephem_series(
            lambda d: obs.next_rising(sun, start=d, use_center=True), jd_from, jd_to)
        events[set_] = pyephem_series(
            lambda d: obs.next_setting(sun, start=d, use_center=True), jd_from, jd_to)
    obs.horizon = "0"
    events["transit"] = pyephem_series(lambda d: obs.next_transit(sun, start=d), jd_from, jd_to)
    events["lower_transit"] = pyephem_series(lambda d: obs.next_antitransit(sun, start=d),
                                             jd_from, jd_to)
    return events


def nearest(sorted_times, t):
    k = bisect.bisect_left(sorted_times, t)
    best = None
    for j in (k - 1, k):
        if 0 <= j < len(sorted_times) and (best is None or abs(sorted_times[j] - t) < abs(best - t)):
            best = sorted_times[j]
    return best


def partner_gap(events, kind, t):
    """Time to the nearest crossing of the same height the other way (the short day or night
    that the event bounds), minutes; None for transits."""
    for rise, set_, _ in LEVELS:
        if kind in (rise, set_):
            other = events[set_ if kind == rise else rise]
            n = nearest(other, t)
            return None if n is None else abs(n - t) * 1440
    return None


def percentile(values, q):
    if not values:
        return float("nan")
    values = sorted(values)
    return values[min(len(values) - 1, int(q * (len(values) - 1) + 0.5))]


def usno_atlanta(exe):
    """The U. S. Naval Observatory's table of sunrise and sunset at Atlanta for 2007 (Eastern
    Standard Time, rounded to the minute), as python3-ephem ships it, against the library's
    times rounded the same way. Returns the table of differences in minutes."""
    path = os.path.join(os.path.dirname(ephem.__file__), "tests", "usno", "riset_sun.txt")
    if not os.path.exists(path):
        return None
    table = {}
    for line in open(path):
        if len(line) < 4 or not line[:2].isdigit():
            continue
        day = int(line[:2])
        for month in range(12):
            field = line[4 + 11 * month:4 + 11 * month + 9]
            if field.strip():
                rise, set_ = field.split()
                table[(month + 1, day)] = (rise, set_)
    est = 5.0 / 24
    jd_from = float(ephem.Date("2007/1/1")) + DUBLIN_JD + est
    ours = library_events(exe, 33 + 46 / 60, -(84 + 25 / 60), jd_from, jd_from + 365)
    counts = {}
    for kind, column in (("sunrise", 0), ("sunset", 1)):
        for jd in ours[kind]:
            local = ephem.Date(jd - est - DUBLIN_JD).datetime() + datetime.timedelta(seconds=30)
            want = table.get((local.month, local.day))
            if want is None:
                continue
            theirs = int(want[column][:2]) * 60 + int(want[column][2:])
            mine = local.hour * 60 + local.minute
            key = (kind, mine - theirs)
            counts[key] = counts.get(key, 0) + 1
    return counts


def main():
    exe = sys.argv[1]
    year = int(sys.argv[2]) if len(sys.argv) > 2 else 2026
    jd_from = float(ephem.Date(f"{year}/1/1")) + DUBLIN_JD
    jd_to = float(ephem.Date(f"{year + 1}/1/1")) + DUBLIN_JD

    diffs = {"<=65": {k: [] for k in KINDS}, ">65": {k: [] for k in KINDS}}
    unmatched = []
    per_site = []
    for name, lat, lon in SITES:
        ours = library_events(exe, lat, lon, jd_from, jd_to)
        theirs = pyephem_events(lat, lon, jd_from, jd_to)
        band = "<=65" if abs(lat) <= 65 else ">65"
        worst = 0.0
        for kind in KINDS:
            for t in ours[kind]:
                n = nearest(theirs[kind], t)
                if n is None or abs(n - t) > MATCH:
                    unmatched.append((name, kind, t, "library only", partner_gap(ours, kind, t)))
                else:
                    d = (t - n) * 86400
                    diffs[band][kind].append((d, name, t, partner_gap(ours, kind, t)))
                    worst = max(worst, abs(d))
            for t in theirs[kind]:
                n = nearest(ours[kind], t)
                if n is None or abs(n - t) > MATCH:
                    unmatched.append((name, kind, t, "PyEphem only", partner_gap(theirs, kind, t)))
        per_site.append((name, lat, lon, sum(len(v) for v in ours.values()), worst))

    print(f"# Sun events {year}, library against PyEphem {ephem.__version__} "
          f"(pressure 0, use_center=True); differences library - PyEphem, seconds")
    print()
    print("| site | latitude | longitude | library events | largest difference |")
    print("|---|---|---|---|---|")
    for name, lat, lon, count, worst in per_site:
        print(f"| {name} | {lat:.2f} | {lon:.2f} | {count} | {worst:.1f} s |")
    for band, label in (("<=65", "latitudes up to 65 degrees"), (">65", "latitudes beyond 65 degrees")):
        print()
        print(f"{label}:")
        print()
        print("| kind | events | mean | 99 % | largest | where the largest | to the crossing the other way |")
        print("|---|---|---|---|---|---|---|")
        for kind in KINDS:
            rows = diffs[band][kind]
            if not rows:
                print(f"| {kind} | 0 | | | | | |")
                continue
            d = [row[0] for row in rows]
            a = [abs(x) for x in d]
            worst = max(rows, key=lambda row: abs(row[0]))
            when = ephem.Date(worst[2] - DUBLIN_JD).datetime().strftime("%Y-%m-%d")
            gap = "" if worst[3] is None else f"{worst[3]:.0f} min"
            print(f"| {kind} | {len(d)} | {statistics.fmean(d):+.1f} s | "
                  f"{percentile(a, 0.99):.1f} s | {max(a):.1f} s | {worst[1]} {when} | {gap} |")
    print()
    print(f"events on one side only: {len(unmatched)}")
    usno = usno_atlanta(exe)
    if usno is not None:
        print()
        print("U. S. Naval Observatory, Rise and Set for the Sun for 2007, Atlanta (W084 25, N33 46),")
        print("against the library rounded to the minute the same way: days by difference")
        print()
        print("| kind | " + " | ".join(f"{d:+d} min" for d in (-1, 0, 1)) + " | other |")
        print("|---|---|---|---|---|")
        for kind in ("sunrise", "sunset"):
            row = [usno.get((kind, d), 0) for d in (-1, 0, 1)]
            other = sum(n for (k, d), n in usno.items() if k == kind and abs(d) > 1)
            print(f"| {kind} | " + " | ".join(str(n) for n in row) + f" | {other} |")
    if unmatched:
        print()
        print("| site | kind | date (UT) | side | to the crossing the other way |")
        print("|---|---|---|---|---|")
        for name, kind, t, side, gap in unmatched:
            when = ephem.Date(t - DUBLIN_JD).datetime().strftime("%Y-%m-%d %H:%M")
            gap_text = "" if gap is None else f"{gap:.1f} min"
            print(f"| {name} | {kind} | {when} | {side} | {gap_text} |")


if __name__ == "__main__":
    main()
