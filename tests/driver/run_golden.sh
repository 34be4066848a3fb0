#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# run_golden.sh PROGRAM DIR...: runs the built program on every answers file of the folders
# with its standard input redirected, and compares its output and exit status with the
# .out file beside it.
set -u
program=$1
shift
failed=0
for input in $(for dir in "$@"; do ls "$dir"/*.in; done); do
  expected=${input%.in}.out
  if ! "$program" < "$input" | cmp -s - "$expected"; then
    echo "output differs: $(basename "$input")"
    failed=1
  elif [ "${PIPESTATUS[0]}" -ne 0 ]; then
    echo "non-zero exit status: $(basename "$input")"
    failed=1
  fi
done
exit $failed
