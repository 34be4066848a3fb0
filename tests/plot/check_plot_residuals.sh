#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# check_plot_residuals.sh ASTRO SOURCE_DIR: the residuals scripts/plot --orbit would draw
# (--data, no gnuplot needed) are the fit's own, one per observation with a site, and a fit
# that fails draws nothing and keeps the command's status and message.
set -euo pipefail
astro=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
data() { ASTRO_COMMAND=$astro "$source/scripts/plot" --data --orbit "$@"; }
eros=$source/data/mpc/eros.obs

# Every residual line of the fit, in its order, and nothing else; the used and rejected
# counts those of the fit's summary. The options after the object reach astro orbit.
for model in perturbed two-body; do
  "$astro" orbit "$eros" --object 433 --residuals --model "$model" > "$work/table"
  data "$eros" 433 --model "$model" > "$work/data"
  [ "$(head -1 "$work/data")" = residuals ] || fail "$model: picture $(head -1 "$work/data")"
  tail -n +2 "$work/data" > "$work/rows"
  grep -E ' (yes|no)$' "$work/table" | awk 'NF == 5 { print $1, $2, $3, $4, $5 }' > "$work/expected"
  [ "$(wc -l < "$work/expected")" -eq 223 ] || fail "$model: the fit lists $(wc -l < "$work/expected") residuals"
  cmp -s "$work/rows" "$work/expected" || fail "$model: the rows are not the fit's residuals"
  read -r used rejected < <(awk '$1 == "observations" { print $2, $4 }' "$work/table")
  [ "$(grep -c ' yes$' "$work/rows")" -eq "$used" ] || fail "$model: used count"
  [ "$(grep -c ' no$' "$work/rows")" -eq "$rejected" ] || fail "$model: rejected count"
done

# An object that is not in the file: status 2, the command's message, nothing drawn.
status=0
data "$eros" 99942 > "$work/out" 2> "$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a failed fit gives status $status, not 2"
[ ! -s "$work/out" ] || fail "a failed fit printed: $(head -2 "$work/out")"
grep -q "99942" "$work/err" || fail "the message does not name the object: $(cat "$work/err")"
echo "scripts/plot --orbit keeps the fit's residuals and its failures"
