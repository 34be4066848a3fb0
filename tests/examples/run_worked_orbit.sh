#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# run_worked_orbit.sh PROGRAM SOURCE_DIR EXPECTED: runs the worked orbit without arguments
# from the top of the source tree and compares its output with EXPECTED byte for byte; its
# exit status must be 0 and it must write nothing to standard error.
set -u
program=$1
expected=$3
cd "$2" || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$program" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; cat "$work/err"; exit 1; }
[ ! -s "$work/err" ] || { echo "standard error:"; cat "$work/err"; exit 1; }
cmp "$work/out" "$expected" || { echo "output differs from $expected"; exit 1; }
