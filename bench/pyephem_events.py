#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# pyephem_events.py [RUNS]: PyEphem's loop of next_rising, next_transit and next_setting over
# the 365 days of 2026 at the benchmarks' site (Prague; horizon -0:50, pressure 0, the Sun's
# centre, as docs/events/compare.py asks), timed whole RUNS times (default 5). Prints the
# median real and cpu time of the year, in the form scripts/bench reads:
#   pyephem_rise_transit_set_year <real seconds> <cpu seconds>
import statistics
import sys
import time

import ephem

runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
obs = ephem.Observer()
obs.lat, obs.lon = str(50 + 5 / 60), str(14 + 25 / 60)
obs.pressure = 0
obs.horizon = "-0:50"
sun = ephem.Sun()
start = ephem.Date("2026/1/1")


def year():
    found = 0
    for d in range(365):
        day = ephem.Date(start + d)
        obs.next_rising(sun, start=day, use_center=True)
        obs.next_transit(sun, start=day)
        obs.next_setting(sun, start=day, use_center=True)
        found += 3
    return found


real, cpu = [], []
for _ in range(runs):
    r0, c0 = time.perf_counter(), time.process_time()
    year()
    real.append(time.perf_counter() - r0)
    cpu.append(time.process_time() - c0)
median_real, median_cpu = statistics.median(real), statistics.median(cpu)
print(f"# PyEphem {ephem.__version__}: {median_real * 1e3:.1f} ms a year real, "
      f"{median_cpu * 1e3:.1f} ms cpu (median of {runs} runs)", file=sys.stderr)
print(f"pyephem_rise_transit_set_year {median_real:.6f} {median_cpu:.6f}")
