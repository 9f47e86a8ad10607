#!/bin/sh
# Builds every libFuzzer target (fuzz/*_fuzz.cpp) with clang in build/fuzz and
# runs each for a few seconds, starting from fuzz/corpus/<target>/ when present.
# Usage: scripts/fuzz-smoke.sh [seconds per target]
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-5}"
dir=build/fuzz
if [ ! -f "$dir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKALVION_FUZZ=ON -DKALVION_BUILD_TESTS=OFF -DKALVION_BUILD_BENCH=OFF
fi
cmake --build "$dir" --target kalvion_fuzz_all -j "${JOBS:-2}"

status=0
for src in fuzz/*_fuzz.cpp; do
    [ -e "$src" ] || continue
    name=$(basename "$src" .cpp)
    work="$dir/corpus/$name"
    mkdir -p "$work"
    set -- "$work"
    [ -d "fuzz/corpus/$name" ] && set -- "$@" "fuzz/corpus/$name"
    echo "== $name (${seconds}s)"
    if ! "$dir/bin/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$@" \
        > "$dir/$name.log" 2>&1; then
        echo "   FAILED, see $dir/$name.log"
        tail -n 30 "$dir/$name.log"
        status=1
    else
        grep -E '^stat::number_of_executed_units' "$dir/$name.log" || true
    fi
done
exit $status
