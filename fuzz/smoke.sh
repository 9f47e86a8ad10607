#!/bin/sh
# Builds the libFuzzer targets with clang in their own folder and runs each
# for a short while from its seed corpus.  Usage: fuzz/smoke.sh [SECONDS] [BUILD_DIR]
set -eu
seconds="${1:-20}"
dir="${2:-build/fuzz}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DKALVION_FUZZ=ON -DKALVION_BUILD_TESTS=OFF -DKALVION_BUILD_BENCH=OFF >/dev/null
status=0
for src in "$root"/fuzz/fuzz_*.cpp; do
    name="$(basename "$src" .cpp)"
    cmake --build "$dir" --target "$name" -j 2
    work="$dir/corpus/$name"
    mkdir -p "$work"
    seeds="$root/fuzz/corpus/$name"
    echo "== $name (${seconds}s)"
    dict="$root/fuzz/$name.dict"
    "$dir/bin/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        $( [ -f "$dict" ] && echo "-dict=$dict" ) \
        "$work" ${seeds:+$( [ -d "$seeds" ] && echo "$seeds" )} || status=1
done
exit $status
