#!/bin/sh
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a
# few seconds.  Usage: scripts/fuzz-smoke.sh [seconds per target]
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-10}"
BUILD=build/fuzz
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DKALVION_FUZZ=ON -DKALVION_SANITIZE=ON \
      -DKALVION_BUILD_TESTS=OFF -DKALVION_BUILD_BENCH=OFF >/dev/null
targets=$(ls fuzz/*_fuzz.cpp 2>/dev/null | xargs -n1 basename | sed 's/\.cpp$//')
[ -n "$targets" ] || { echo "no fuzz targets"; exit 0; }
for t in $targets; do
    cmake --build "$BUILD" --target "$t" -j2
done
for t in $targets; do
    corpus="$BUILD/corpus/$t"
    mkdir -p "$corpus"
    # A target may ship seed inputs in fuzz/corpus/<target>/.
    [ -d "fuzz/corpus/$t" ] && cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
    echo "== $t (${SECONDS_EACH}s)"
    "$BUILD/bin/$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=8192 "$corpus"
done
