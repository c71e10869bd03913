#!/bin/bash
# --explore on the demo game: how many plays a second one process makes.
# Usage: bench/explore-demo.sh [BUILD_DIR] [PLAYS]   (default build/release, 200)
set -eu
build=${1:-build/release}
plays=${2:-200}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
start=$(date +%s.%N)
# The processor time too: on a busy machine the wall clock says more about the others.
(cd "$out" && TIMEFORMAT='%U %S' && { time "$OLDPWD/$build/orvane" --headless --explore "$plays" \
    "$OLDPWD/$build/demo" >report.txt; } 2>cpu.txt) || true
end=$(date +%s.%N)
head -3 "$out/report.txt"
echo "$plays $start $end $(cat "$out/cpu.txt" 2>/dev/null)" | awk '{
    printf "%d plays in %.2f s: %.1f plays a second\n", $1, $3 - $2, $1 / ($3 - $2)
    if (NF == 5) printf "processor time %.2f s: %.1f plays a processor second\n", $4 + $5, $1 / ($4 + $5) }'
