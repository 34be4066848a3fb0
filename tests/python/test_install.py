# SPDX-License-Identifier: MIT
"""cmake --install of the component python gives an astro that a fresh interpreter imports."""

import os
import pathlib
import re
import subprocess
import sys

import astro

BUILD = pathlib.Path(os.environ["ASTRO_BUILD_DIR"])


def install_dir():
    cache = (BUILD / "CMakeCache.txt").read_text()
    return re.search(r"^ASTRO_PYTHON_INSTALL_DIR:STRING=(.*)$", cache, re.M).group(1)


def test_installed_package_imports(tmp_path):
    subprocess.run(["cmake", "--install", str(BUILD), "--component", "python",
                    "--prefix", str(tmp_path)], check=True, capture_output=True)
    site = tmp_path / install_dir()
    assert (site / "astro" / "__init__.py").is_file()
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    env["PYTHONPATH"] = str(site)
    code = ("import astro; p = astro.sun_position(2461201.0, 50.1, 14.4); "
            "print(astro.__file__); print(p.height.hex())")
    done = subprocess.run([sys.executable, "-c", code], env=env, check=True,
                          capture_output=True, text=True, cwd=tmp_path)
    where, height = done.stdout.split()
    assert pathlib.Path(where).is_relative_to(site)
    assert float.fromhex(height) == astro.sun_position(2461201.0, 50.1, 14.4).height


def test_default_prefix_is_on_the_interpreters_path():
    # Without --prefix the package goes to /usr/local/<install dir>, which the system
    # Python reads; /usr/<install dir> serves the prefix /usr.
    paths = subprocess.run([sys.executable, "-c", "import sys; print('\\n'.join(sys.path))"],
                           check=True, capture_output=True, text=True).stdout.split()
    assert f"/usr/local/{install_dir()}" in paths
