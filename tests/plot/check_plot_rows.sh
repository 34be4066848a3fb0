#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# check_plot_rows.sh PROGRAM SOURCE_DIR: the numbers scripts/plot would draw (--data, no
# gnuplot needed), from the program's own output on two answers files in this folder.
set -euo pipefail
program=$1
source=$2
here=$source/tests/plot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
data() { ASTRO_PROGRAM=$program "$source/scripts/plot" --data "$here/$1" 2> "$work/stderr"; }

# A field reader's message line is left out and named on standard error; every table row,
# and nothing else, is kept as the program wrote it.
status=0
"$program" < "$here/unreadable_latitude.in" > "$work/output" || status=$?
[ $status -eq 2 ] || fail "a malformed answer ends the program with status 2, not $status"
grep -v '^#' "$work/output" > "$work/not_hash"
[ "$(wc -l < "$work/not_hash")" -eq 25 ] ||
  fail "the fixture should give 24 rows and one message line: $(wc -l < "$work/not_hash") lines"
data unreadable_latitude.in > "$work/data"
[ "$(head -1 "$work/data")" = hours ] || fail "a day of rows: picture $(head -1 "$work/data")"
tail -n +2 "$work/data" > "$work/rows"
[ "$(wc -l < "$work/rows")" -eq 24 ] || fail "24 rows expected, $(wc -l < "$work/rows") kept"
grep -vxFf "$work/rows" "$work/not_hash" > "$work/left_out" || true
[ "$(wc -l < "$work/left_out")" -eq 1 ] || fail "one line left out expected: $(cat "$work/left_out")"
grep -qF "$(cat "$work/left_out")" "$work/stderr" || fail "the left-out line is not named"
grep -vxFf "$work/not_hash" "$work/rows" && fail "a kept line the program did not write as a row"

# Five days of 2-minute rows from noon: the four dates covered in full, each with its largest
# height and day length. On the equator the Sun's centre is 12 h above the horizon at any
# declination (the hour angle of setting is 90 degrees); refraction adds nothing there (it is 0
# for a height of 0 or below), and the rows count in steps of 2 min. The height at transit is
# 90 degrees less the declination, 23.41 to 23.44 degrees on 20 to 23 June 2026 (the obliquity,
# 23.44, at the solstice), plus 0.007 degrees of refraction.
data equator_five_days.in > "$work/data"
[ "$(head -1 "$work/data")" = days ] || fail "five days of rows: picture $(head -1 "$work/data")"
tail -n +2 "$work/data" > "$work/days"
[ "$(cut -d' ' -f1 "$work/days" | tr '\n' ' ')" = "2026-06-20 2026-06-21 2026-06-22 2026-06-23 " ] ||
  fail "dates: $(cut -d' ' -f1 "$work/days" | tr '\n' ' ')"
awk '$2 < 66.55 || $2 > 66.60 || $3 < 11.96 || $3 > 12.04 { bad = 1; print "FAIL: " $0 }
     END { exit bad }' "$work/days"
echo "scripts/plot keeps the table rows only and sums them per date"
