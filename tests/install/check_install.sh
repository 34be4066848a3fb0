#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# check_install.sh BUILD_DIR SOURCE_DIR [FLAGS]: installs the built tree into a temporary
# prefix, then configures, builds and runs a small consumer project against it, once through
# find_package(astro) and once through pkg-config; last, the same consumer builds the library
# from source through add_subdirectory. The installed headers must be exactly the public ones
# listed in installed_headers.txt, and the libraries named by pkg-config only the library's
# own (never the program's code). FLAGS go to the consumers' compile and link: a tree
# built with sanitizers needs their run-time libraries in its consumers.
set -euo pipefail
build=$1
source=$2
extra=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
headers=$(cd "$work/prefix" && find include -type f | sort)
if [ "$headers" != "$(cat "$source/tests/install/installed_headers.txt")" ]; then
  echo "installed headers differ from tests/install/installed_headers.txt:"
  diff <(echo "$headers") "$source/tests/install/installed_headers.txt" || true
  exit 1
fi
cmake -S "$source/tests/install/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_FLAGS="$extra" >/dev/null
cmake --build "$work/consumer" >/dev/null
out=$("$work/consumer/consumer")
[ "$out" = "2451545.0 18.697373990" ] || { echo "find_package consumer printed: $out"; exit 1; }
pcdir=$(dirname "$(find "$work/prefix" -name astro.pc)")
flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs astro)
case "$flags" in *driver*|*program*) echo "pkg-config names the program's own code: $flags"; exit 1 ;; esac
# No language level of its own: the headers need C++20 and astro.pc has to say so.
# shellcheck disable=SC2086
c++ $extra "$source/tests/install/consumer/main.cpp" $flags -o "$work/pc_consumer"
out=$("$work/pc_consumer")
[ "$out" = "2451545.0 18.697373990" ] || { echo "pkg-config consumer printed: $out"; exit 1; }
[ -x "$work/prefix/bin/RER_IVOZUVU_VUZARE" ] || { echo "program not installed"; exit 1; }
if grep -q '^ASTRO_BUILD_CLI:BOOL=ON' "$build/CMakeCache.txt"; then
  "$work/prefix/bin/astro" --version >/dev/null || { echo "astro command not installed"; exit 1; }
fi
cmake -S "$source/tests/install/subdirectory" -B "$work/subdirectory" -DASTRO_SOURCE="$source" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$extra" >/dev/null
cmake --build "$work/subdirectory" -j2 --target consumer >/dev/null
out=$("$work/subdirectory/consumer")
[ "$out" = "2451545.0 18.697373990" ] || { echo "add_subdirectory consumer printed: $out"; exit 1; }
echo "the library works through find_package, pkg-config and add_subdirectory"
