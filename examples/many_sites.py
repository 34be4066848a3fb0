#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A year of hourly Sun positions for a grid of sites, with Dask and without.

For every site of a latitude-longitude grid (100 x 100 by default: latitudes -80 to 80,
longitudes -180 to 178.2) this computes the Sun's height at every whole hour UT of 2026
(8,760 instants) and keeps, for each site and UT day, the largest of its 24 hourly heights:
the day's noon height as hourly sampling sees it (within the height change of half an hour
around culmination of the true noon height). The result is an array (sites, days).

The same computation runs three ways, each timed: in this process alone, block after block
of sites; then with Dask on a local cluster of worker processes, first of one worker, then
of --workers (default: the machine's cores), the sites chunked in the same blocks. The Dask
results must equal the single-process one exactly; the script says so and exits 1 if not.

    PYTHONPATH=build/python examples/many_sites.py                # 10,000 sites, a year
    PYTHONPATH=build/python examples/many_sites.py --grid 4 5 --days 3 --out r.npz
"""

import argparse
import logging
import os
import sys
import time

import numpy as np

import astro


def noon_heights(latitude, longitude, jd0, days):
    """Largest hourly height (degrees) of each UT day, shape (sites, days)."""
    hours = jd0 + np.arange(days * 24) / 24.0
    height = astro.sun_position(hours[None, :], latitude[:, None], longitude[:, None]).height
    return height.reshape(len(latitude), days, 24).max(axis=2)


def grid(rows, columns):
    latitude = np.linspace(-80.0, 80.0, rows)
    longitude = -180.0 + 360.0 * np.arange(columns) / columns
    lat, lon = np.meshgrid(latitude, longitude, indexing="ij")
    return lat.ravel(), lon.ravel()


def single_process(latitude, longitude, jd0, days, block):
    parts = [noon_heights(latitude[k:k + block], longitude[k:k + block], jd0, days)
             for k in range(0, len(latitude), block)]
    return np.concatenate(parts)


def with_dask(latitude, longitude, jd0, days, block, workers):
    """Returns (result, seconds of the computation, seconds to start the cluster)."""
    import dask.array as da
    from dask.distributed import Client, LocalCluster

    start = time.perf_counter()
    with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                      dashboard_address=None, silence_logs=logging.ERROR) as cluster, \
            Client(cluster) as client:
        client.wait_for_workers(workers)
        ready = time.perf_counter()
        lat = da.from_array(latitude, chunks=block)
        lon = da.from_array(longitude, chunks=block)
        result = da.map_blocks(noon_heights, lat, lon, jd0=jd0, days=days, new_axis=1,
                               chunks=(lat.chunks[0], (days,)), dtype=np.float64)
        out = result.compute()
        done = time.perf_counter()
    return out, done - ready, ready - start


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--grid", nargs=2, type=int, default=(100, 100), metavar=("ROWS", "COLUMNS"),
                        help="latitudes x longitudes of the site grid (default 100 100)")
    parser.add_argument("--days", type=int, default=365, help="UT days from 2026 January 1")
    parser.add_argument("--block", type=int, default=100, help="sites per Dask chunk")
    parser.add_argument("--workers", type=int, default=os.cpu_count(),
                        help="worker processes of the second Dask run (default: the cores)")
    parser.add_argument("--out", help="save latitude, longitude and the result to this .npz")
    args = parser.parse_args(argv)
    if min(*args.grid, args.days, args.block, args.workers) < 1:
        parser.error("grid, days, block and workers must be positive")

    latitude, longitude = grid(*args.grid)
    jd0 = astro.jd(2026, 1, 1.0)
    positions = len(latitude) * args.days * 24
    print(f"{len(latitude)} sites x {args.days * 24} hours = {positions:,} positions, "
          f"chunks of {args.block} sites")

    start = time.perf_counter()
    reference = single_process(latitude, longitude, jd0, args.days, args.block)
    alone = time.perf_counter() - start
    print(f"without Dask, one process: {alone:8.2f} s  ({alone / positions * 1e9:.0f} ns a position)")

    equal = True
    for workers in sorted({1, args.workers}):
        result, seconds, startup = with_dask(latitude, longitude, jd0, args.days, args.block,
                                             workers)
        same = np.array_equal(result, reference)
        equal = equal and same
        print(f"Dask, {workers} worker{'s' if workers > 1 else ' '}:        {seconds:8.2f} s  "
              f"({alone / seconds:.2f} x the single process; cluster start {startup:.1f} s); "
              f"result {'equal to' if same else 'DIFFERENT from'} the single process's")

    summer = min(args.days - 1, 171)  # 2026 June 21
    k = np.argmin(np.abs(latitude - 50.0) + np.abs(longitude - 14.4))
    print(f"noon height at ({latitude[k]:.1f}, {longitude[k]:.1f}) on day {summer + 1}: "
          f"{reference[k, summer]:.3f} deg; over all sites and days {reference.min():.2f} "
          f"to {reference.max():.2f} deg")
    if args.out:
        np.savez(args.out, latitude=latitude, longitude=longitude, jd0=jd0,
                 noon_height=reference)
    return 0 if equal else 1


if __name__ == "__main__":
    sys.exit(main())
