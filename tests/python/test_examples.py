# SPDX-License-Identifier: MIT
"""examples/many_sites.py on a tiny grid: Dask on 1 and 2 workers against one process."""

import os
import pathlib
import subprocess
import sys

import numpy as np

import astro

SOURCE = pathlib.Path(os.environ["ASTRO_SOURCE_DIR"])


def test_many_sites_tiny(tmp_path):
    out = tmp_path / "noon.npz"
    done = subprocess.run(
        [sys.executable, str(SOURCE / "examples" / "many_sites.py"), "--grid", "3", "4",
         "--days", "2", "--block", "5", "--workers", "2", "--out", str(out)],
        capture_output=True, text=True, timeout=300, cwd=tmp_path)
    assert done.returncode == 0, done.stdout + done.stderr
    assert done.stdout.count("result equal to the single process's") == 2, done.stdout
    saved = np.load(out)
    assert saved["noon_height"].shape == (12, 2)
    # Two sites recomputed here, one hour at a time: the largest of each day's 24 heights.
    jd0 = astro.jd(2026, 1, 1.0)
    assert jd0 == 2461041.5
    for k in (0, 7):
        hours = [astro.sun_position(jd0 + h / 24.0, saved["latitude"][k],
                                    saved["longitude"][k]).height for h in range(48)]
        want = np.max(np.reshape(hours, (2, 24)), axis=1)
        assert np.array_equal(saved["noon_height"][k], want)
