#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# run_golden.sh PROGRAM DIR...: runs the built program on every answers file (*.in) of the
# folders with its standard input redirected, and compares its output with the .out file
# beside it and its exit status with the folder's status.txt (lines "<case>.in STATUS").
# Fails when a folder is missing, holds no answers file, or a case has no status line.
set -u
shopt -s nullglob
program=$1
shift
failed=0
compared=0
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for dir in "$@"; do
  if [ ! -d "$dir" ]; then
    echo "no such folder: $dir"
    failed=1
    continue
  fi
  inputs=("$dir"/*.in)
  if [ ${#inputs[@]} -eq 0 ]; then
    echo "no answers files in: $dir"
    failed=1
    continue
  fi
  for input in "${inputs[@]}"; do
    name=${input##*/}
    want=
    if [ -f "$dir/status.txt" ]; then
      # The status is the last word of the case's line.
      while IFS= read -r line || [ -n "$line" ]; do
        if [ "${line% *}" = "$name" ]; then want=${line##* }; fi
      done < "$dir/status.txt"
    fi
    if [ -z "$want" ]; then
      echo "no status for $name in $dir/status.txt"
      failed=1
      continue
    fi
    "$program" < "$input" > "$out"
    status=$?
    compared=$((compared + 1))
    if ! cmp -s -- "$out" "${input%.in}.out"; then
      echo "output differs: $input"
      failed=1
    fi
    if [ "$status" != "$want" ]; then
      echo "exit status $status, want $want: $input"
      failed=1
    fi
  done
done
if [ $compared -eq 0 ]; then
  echo "no case compared"
  failed=1
fi
[ $failed -eq 0 ] && echo "$compared cases compared"
exit $failed
