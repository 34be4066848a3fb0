#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# hostile_io.sh PROGRAM ANSWERS: output that cannot be written is status 1 with a message;
# a reader that goes away ends the program quietly; random bytes as input always end in a
# normal stop, status 0 or 2 (bad input), with nothing on standard error.
set -u
program=$1
answers=$2
failed=0

# A full disk: status 1 and a message on standard error.
err=$("$program" < "$answers" 2>&1 >/dev/full)
status=$?
if [ $status -ne 1 ] || [ -z "$err" ]; then
  echo "writing to /dev/full: status $status, message '$err'"
  failed=1
fi

# A closed pipe under a long table: the default SIGPIPE ends it, nothing on standard error.
long=$(mktemp)
printf '# long\n50\n14\n2026/06/09\n0\n00:01:00\n200000\n1\n1\n1\n\n' > "$long"
err=$( { "$program" < "$long" | head -c 10 >/dev/null; exit "${PIPESTATUS[0]}"; } 2>&1 )
status=$?
rm -f "$long"
if [ -n "$err" ] || [ $status -ne 141 ]; then
  echo "closed pipe: status $status, printed '$err'"
  failed=1
fi

# Random bytes as the answers.
for seed in $(seq 1 40); do
  input=$(mktemp)
  head -c $((seed * 97)) /dev/urandom > "$input"
  err=$("$program" < "$input" 2>&1 > /dev/null)
  status=$?
  if { [ $status -ne 0 ] && [ $status -ne 2 ]; } || [ -n "$err" ]; then
    echo "random input $seed ended with status $status, printed '$err'; input kept in $input"
    failed=1
  else
    rm -f "$input"
  fi
done
exit $failed
