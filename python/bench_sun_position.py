# SPDX-License-Identifier: MIT
"""Timing of astro.sun_position against the C++ batch call, astropy and PyEphem.

usage: bench_sun_position.py BUILD_DIR [ROUNDS]

One site (50.0833 N, 14.4167 E), instants a minute apart from JD 2461200.5 (2026 June 9,
0h UT), every correction on, refraction at 1013.25 hPa and 10 degrees C for all three:
- astro.sun_position over 1,000,000 instants, against astro_time_sun_positions timing the
  C++ sun_positions over the same instants, the two interleaved ROUNDS times (default 7);
- the same 1,000,000 instants split between two threads, and the longest pause of the
  interpreter's main thread while another thread runs the chain over all of them (a few
  milliseconds when the GIL is released, the whole call when it is held);
- astropy: get_sun transformed to AltAz over the first 10,000 instants at once, offline
  (no IERS download; its warnings ignored), and PyEphem's Sun in a loop over the first
  10,000, both scaled per instant.
Prints medians and the ratios of this one run.
"""

import os
import statistics
import subprocess
import sys
import threading
import time
import warnings

import numpy as np

BUILD = sys.argv[1]
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 7
sys.path.insert(0, os.path.join(BUILD, "python"))
import astro  # noqa: E402

N = 1_000_000
PEER_N = 10_000
LAT, LON = 50.0833, 14.4167
JD = 2461200.5 + np.arange(N) / 1440.0


def timed(call):
    start = time.perf_counter()
    result = call()
    return time.perf_counter() - start, result


def cpp_batch():
    done = subprocess.run([os.path.join(BUILD, "bin", "astro_time_sun_positions"), str(N), "1"],
                          check=True, capture_output=True, text=True)
    name, count, seconds = done.stdout.split()
    assert name == "sun_positions" and int(count) == N
    return float(seconds)


def two_threads():
    halves = [JD[: N // 2], JD[N // 2:]]
    out = [None, None]

    def run(k):
        out[k] = astro.sun_position(halves[k], LAT, LON).height

    threads = [threading.Thread(target=run, args=(k,)) for k in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return np.concatenate(out)


def longest_pause():
    worker = threading.Thread(target=astro.sun_position, args=(JD, LAT, LON))
    start = time.perf_counter()
    worker.start()
    stamps = [start]
    while worker.is_alive():
        stamps.append(time.perf_counter())
    worker.join()
    return float(np.diff(stamps).max()), stamps[-1] - start


def astropy_altaz(jd):
    import astropy.units as u
    from astropy.coordinates import AltAz, EarthLocation, get_sun
    from astropy.time import Time

    t = Time(jd, format="jd", scale="utc")
    site = EarthLocation(lat=LAT * u.deg, lon=LON * u.deg, height=0 * u.m)
    frame = AltAz(obstime=t, location=site, pressure=1013.25 * u.hPa,
                  temperature=10 * u.deg_C, relative_humidity=0, obswl=0.55 * u.micron)
    altaz = get_sun(t).transform_to(frame)
    return altaz.alt.deg, altaz.az.deg


def ephem_loop(jd):
    import ephem

    site = ephem.Observer()
    site.lat, site.lon = str(LAT), str(LON)
    site.elevation, site.pressure, site.temp = 0.0, 1013.25, 10.0
    sun = ephem.Sun()
    alt = np.empty(len(jd))
    az = np.empty(len(jd))
    for k, day in enumerate(jd):
        site.date = day - 2415020.0  # PyEphem counts days from 1899 December 31, 12h
        sun.compute(site)
        alt[k], az[k] = sun.alt, sun.az
    return np.degrees(alt), np.degrees(az)


def main():
    print(f"== {N:,} instants, {ROUNDS} interleaved rounds of the C++ batch and the module")
    cpp, module = [], []
    astro.sun_position(JD[:1000], LAT, LON)  # warm
    for _ in range(ROUNDS):
        cpp.append(cpp_batch())
        seconds, result = timed(lambda: astro.sun_position(JD, LAT, LON))
        module.append(seconds)
    paired = statistics.median(m / c for m, c in zip(module, cpp))
    cpp_s, module_s = statistics.median(cpp), statistics.median(module)
    print(f"C++ sun_positions           median {cpp_s:.3f} s  ({cpp_s / N * 1e9:.0f} ns an instant)")
    print(f"astro.sun_position          median {module_s:.3f} s  ({module_s / N * 1e9:.0f} ns an instant)")
    print(f"module / C++ batch: {module_s / cpp_s:.3f} (medians), {paired:.3f} (median of the "
          f"rounds' ratios); aim <= 1.2")

    threaded = []
    for _ in range(3):
        seconds, heights = timed(two_threads)
        threaded.append(seconds)
    assert np.array_equal(heights, result.height)
    threaded_s = statistics.median(threaded)
    print(f"two threads, half each      median {threaded_s:.3f} s  ({module_s / threaded_s:.2f} x "
          f"the speed of one thread, with the cores this machine has free)")
    pause, call = longest_pause()
    print(f"main thread's longest pause while another runs the chain for {call:.2f} s: "
          f"{pause * 1e3:.1f} ms")

    from astropy.utils import iers
    iers.conf.auto_download = False
    iers.conf.auto_max_age = None
    iers.conf.iers_degraded_accuracy = "ignore"
    warnings.simplefilter("ignore")
    peer_jd = JD[:PEER_N]
    astropy_altaz(peer_jd[:10])  # warm: imports, tables
    astropy_runs = [timed(lambda: astropy_altaz(peer_jd)) for _ in range(3)]
    astropy_s = statistics.median(r[0] for r in astropy_runs) / PEER_N
    ephem_runs = [timed(lambda: ephem_loop(peer_jd)) for _ in range(3)]
    ephem_s = statistics.median(r[0] for r in ephem_runs) / PEER_N
    ours = module_s / N
    print(f"\n== peers over the first {PEER_N:,} instants, medians of 3 runs, per instant")
    print(f"astro.sun_position          {ours * 1e6:9.2f} us")
    print(f"astropy get_sun -> AltAz    {astropy_s * 1e6:9.2f} us  {astropy_s / ours:7.0f} x astro"
          f" (aim >= 50)")
    print(f"PyEphem Sun, in a loop      {ephem_s * 1e6:9.2f} us  {ephem_s / ours:7.1f} x astro")

    p = astro.sun_position(peer_jd, LAT, LON)
    for name, (alt, az) in (("astropy", astropy_runs[0][1]), ("PyEphem", ephem_runs[0][1])):
        up = alt > 5
        d_alt = np.abs(p.height - alt)[up].max() * 3600
        d_az = np.abs((p.azimuth - az + 180) % 360 - 180)[up].max() * 3600
        print(f"agreement with {name} above 5 deg: height within {d_alt:.0f}\", azimuth within "
              f"{d_az:.0f}\"")


if __name__ == "__main__":
    main()
