#!/bin/sh
# Runs every benchmark program of a Release build folder.
set -eu
dir="${1:-build/release}"
status=0
for b in "$dir"/bin/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_counters_tabular=true || status=1
done
exit $status
