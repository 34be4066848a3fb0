#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# hostile_astro.sh ASTRO [RUNS]: the astro command under hostile input: random argument
# vectors (words of its own command line, good and bad values, random bytes) and random
# files given to the subcommands that read files. Every run ends within its time limit with
# status 0, 1 or 2, a message on standard error when the status is not 0, and never a
# signal or a sanitizer report. (A full disk and a closed pipe: hostile_io.sh beside it.)
# Runs are bounded: each under `timeout`, its rows cut after 100 kB (the cut ends a long
# series by a closed pipe, which is the quiet end above). A failing input is printed as a
# command line that can be pasted; a random file is kept and named.
set -u
astro=$1
runs=${2:-100}
limit=10
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run: `check LABEL ARGS...`. Standard input is empty; rows go through `head -c`.
check() {
  local label=$1
  shift
  local err="$work/err" status
  { timeout "$limit" "$astro" "$@" </dev/null 2>"$err" | head -c 100000 >/dev/null; }
  status=${PIPESTATUS[0]}
  local message bad=""
  message=$(<"$err")
  if [[ $message =~ Sanitizer|runtime\ error:|Assertion|terminate\ called ]]; then
    bad="a sanitizer or runtime report"
  elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    bad="no end within ${limit}s"
  elif [ "$status" -eq 141 ]; then
    [ -z "$message" ] || bad="a message after a closed pipe"
  elif [ "$status" -gt 2 ]; then
    bad="status $status"
  elif [ "$status" -ne 0 ] && [ -z "$message" ]; then
    bad="status $status without a message"
  fi
  if [ -n "$bad" ]; then
    echo "$label: $bad; command: $(printf '%q ' "$astro" "$@")"
    [ -n "$message" ] && printf '%s\n' "$message" | head -5 | sed 's/^/  stderr: /'
    failed=1
    return 1
  fi
  return 0
}

# Random bytes without NUL (an argument cannot hold one), up to n of them.
random_bytes() { head -c "$((RANDOM % $1 + 1))" /dev/urandom | tr -d '\000'; }

# The words random command lines are made of.
subcommands=(sun events ephemeris orbit help "" --help --version)
options=(--lat --lon --start --end --step --count --tz --format --azimuth --height --pressure
         --temperature --no-precession --no-nutation --no-refraction --help --catalogue
         --object --observations --observatories --from --to --days --no-light-time --model --epoch -h --
         --lat= --count=)
values=(50:05:00 50:05N "50 05 00" "50°05'00\"" 14.4167E 0:07:39W -0:30 -90 90 90.0000001
        359.99 360 -180 -14E 1e308 nan inf "" " " , 00 : ::: 61:00 50:60 50:05:60
        2026-06-09T10:00:00Z "2026-06-09 10:00" 2026-06-09 2026-02-29 2024-02-29
        2026-03-29T02:30 2026-10-25T02:30 0000-01-01 9999-12-31T23:59:59.999Z
        10000-01-01 2026-06-09T24:00 2026-06-09T12:00:00.2500 2026-06-09T12:00+23:59
        2026-06-09T12:00+24:00 jd:2461200.5 jd:0 jd:1e300 JD:5373484.5 jd:
        1h 30s 10min 1.5h 1d -1h 0s 0d 00:10:00 -01:00 999999999:00 1e9d 3700000d
        0 1 3 24 1000 9007199254740992 9007199254740993 99999999999999999999 -1 +5 0x10
        csv jsonl table tsv north south east UTC Europe/Prague America/New_York Asia/Tokyo
        ../../../etc/passwd Europe/ Etc/GMT+12 posix/Europe/Prague two-body perturbed
        /dev/null /nonexistent /dev/full /proc/self/mem /)

pick() {
  local -n list=$1
  printf '%s' "${list[RANDOM % ${#list[@]}]}"
}

# Random argument vectors: a subcommand, then options with values from the list, random
# bytes or nothing.
for ((run = 1; run <= runs; ++run)); do
  args=("$(pick subcommands)")
  for ((n = RANDOM % 12; n >= 0; --n)); do
    case $((RANDOM % 8)) in
      0) args+=("$(random_bytes 40)") ;;
      1) args+=("$(pick options)") ;;
      2) args+=("$(pick options)$(pick values)") ;;
      *) args+=("$(pick options)" "$(pick values)") ;;
    esac
  done
  check "random command line $run" "${args[@]}"
done

# Random files to the subcommands that read them, when this build has them.
have() { [[ $("$astro" --help 2>/dev/null) =~ $'\n'"  $1 " ]]; }
# random_file INDEX TEMPLATE: random bytes, lines of the template with random bytes over
# some of their columns, or a few random bytes and many empty lines and NUL bytes.
random_file() {
  local file="$work/file$1" line=$2
  case $(($1 % 3)) in
    0) head -c "$((RANDOM % 4000))" /dev/urandom >"$file" ;;
    1) for _ in $(seq 1 $((RANDOM % 20 + 1))); do
         pos=$((RANDOM % ${#line}))
         printf '%s%s%s\n' "${line:0:pos}" "$(random_bytes 6 | tr -d '\n')" "${line:pos+3}"
       done >"$file" ;;
    2) { head -c 100 /dev/urandom; printf '\n%.0s' {1..50}; head -c 10000 /dev/zero; } >"$file" ;;
  esac
  printf '%s' "$file"
}
keep() {
  local kept
  kept=$(mktemp /tmp/astro_hostile_XXXXXX)
  cp "$1" "$kept"
  echo "  the file is kept in $kept"
}
element_line="00433 Eros                          1.4578454 .2226554 10.82826 304.31681 178.79852 M225.84280 2458276.5  MPCORB epoch K1867"
observation_line="00433         C2016 03 12.09307 20 02 33.69 -25 45 26.1          15.2 Ro~1oexK95"
if have ephemeris; then
  for k in $(seq 1 30); do
    file=$(random_file "$k" "$element_line")
    check "ephemeris on random catalogue $k" ephemeris --catalogue "$file" --object 00433 \
      --start 2026-06-09T00:00Z --count 3 --step 1d "$(pick options)" || keep "$file"
  done
else
  echo "this astro has no ephemeris subcommand: its random catalogues are not run"
fi
if have orbit; then
  for k in $(seq 1 30); do
    file=$(random_file "$k" "$observation_line")
    check "orbit on random observations $k" orbit "$file" --object 00433 || keep "$file"
  done
else
  echo "this astro has no orbit subcommand: its random observation files are not run"
fi

[ $failed -eq 0 ] && echo "astro: $runs random command lines and the random files: all ended as they should"
exit $failed
