#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# run_golden_check.sh RUN_GOLDEN PROGRAM CASE.in: the golden runner itself. It must fail
# when it compares nothing (an empty or missing folder), when a status is wrong or missing,
# and must pass on a good case whose folder path holds blanks and starts with a dash.
set -u
run_golden=$1
program=$2
case_in=$3
name=$(basename "$case_in")
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

want_status=$("$program" < "$case_in" > /dev/null; echo $?)
good="$work/-a folder * with blanks"
mkdir -p "$good" "$work/empty"
cp "$case_in" "$good/$name"
cp "${case_in%.in}.out" "$good/${name%.in}.out"
echo "$name $want_status" > "$good/status.txt"

expect() {  # expect PASS|FAIL LABEL FOLDER...
  local want=$1 label=$2
  shift 2
  if "$run_golden" "$program" "$@" > "$work/log" 2>&1; then got=PASS; else got=FAIL; fi
  if [ "$got" != "$want" ]; then
    echo "$label: runner said $got, want $want"
    sed 's/^/  /' "$work/log"
    failed=1
  fi
}

expect PASS "good case under a path with blanks" "$good"
expect FAIL "empty folder" "$work/empty"
expect FAIL "missing folder" "$work/none"
expect FAIL "good folder and an empty one" "$good" "$work/empty"
expect FAIL "no folder at all"

echo "$name $((want_status + 1))" > "$good/status.txt"
expect FAIL "wrong status" "$good"
: > "$good/status.txt"
expect FAIL "no status line" "$good"
echo "$name $want_status" > "$good/status.txt"
printf 'x' >> "$good/${name%.in}.out"
expect FAIL "output differs" "$good"
exit $failed
