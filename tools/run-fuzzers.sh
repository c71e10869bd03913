#!/usr/bin/env bash
# Runs every built fuzz target for a few seconds on its seed corpus.
#   tools/run-fuzzers.sh BUILD [SECONDS] [NAME=SECONDS...]
# A NAME=SECONDS gives one target its own time: the small parsers' targets cover their code
# within seconds, while the scenario target's inputs are whole games.
set -euo pipefail
build=$1
seconds=${2:-20}
shift $(($# < 2 ? $# : 2))
declare -A own
for pair in "$@"; do
  own[${pair%%=*}]=${pair#*=}
done
root="$(cd "$(dirname "$0")/.." && pwd)"
workers=$(nproc 2>/dev/null || echo 1)
found=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  name=${name#fuzz_}
  time=${own[$name]:-$seconds}
  corpus="$root/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "== fuzzing $name for ${time}s"
  # One worker per core: the seconds given explore as much as the machine can.
  status=0
  "$target" -fork="$workers" -max_total_time="$time" -timeout=10 -rss_limit_mb=4096 "$work" \
    >"$work.log" 2>&1 || status=$?
  if [ $status -ne 0 ]; then
    tail -n 60 "$work.log"
    rm -rf "$work" "$work.log"
    echo "fuzz target $name failed (status $status)"
    exit 1
  fi
  # The last progress line: inputs run, coverage and the rate.
  grep -E '^#[0-9]+' "$work.log" | tail -n 1
  rm -rf "$work" "$work.log"
done
[ $found -eq 1 ] || echo "no fuzz targets built"
