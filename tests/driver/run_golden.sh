#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# run_golden.sh PROGRAM GOLDEN_DIR: runs the built program on every answers file with its
# standard input redirected, and compares its output and exit status with the golden file.
set -u
program=$1
dir=$2
failed=0
for input in "$dir"/*.in; do
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
