#!/usr/bin/env bash
# Runs every built fuzz target for a few seconds on its seed corpus.
set -euo pipefail
build=$1
seconds=${2:-20}
root="$(cd "$(dirname "$0")/.." && pwd)"
workers=$(nproc 2>/dev/null || echo 1)
found=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  name=${name#fuzz_}
  corpus="$root/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "== fuzzing $name for ${seconds}s"
  # One worker per core: the seconds given explore as much as the machine can.
  "$target" -fork="$workers" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 "$work" 2>&1 |
    tail -n 3
  rm -rf "$work"
done
[ $found -eq 1 ] || echo "no fuzz targets built"
