#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# hostile_io.sh ASTRO: output that cannot be written is status 1 with a message on standard
# error, for a short table (written at the end) and a long one (written as it goes); a
# reader that goes away ends the command quietly by SIGPIPE.
set -u
astro=$1
failed=0
for count in 3 200000; do
  err=$("$astro" sun --lat 50 --lon 14 --start 2026-06-09 --step 1min --count "$count" \
        --format csv 2>&1 >/dev/full)
  status=$?
  case "$err" in *"cannot write standard output"*) ;; *) status="$status, message '$err'" ;; esac
  if [ "$status" != 1 ]; then
    echo "writing $count rows to /dev/full: status $status"
    failed=1
  fi
done
err=$( { "$astro" sun --lat 50 --lon 14 --start 2026-06-09 --step 1min --count 1000000 \
         --format csv | head -c 10 >/dev/null; exit "${PIPESTATUS[0]}"; } 2>&1 )
status=$?
if [ -n "$err" ] || [ $status -ne 141 ]; then
  echo "closed pipe: status $status, printed '$err'"
  failed=1
fi
exit $failed
