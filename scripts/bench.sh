#!/bin/sh
# Runs every benchmark program of a Release build folder.
set -eu
dir="${1:-build/release}"
status=0
for b in "$dir"/bin/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    case "$(basename "$b")" in
    bench_render*) run="$(dirname "$0")/with-display.sh" ;;  # OpenGL needs an X display
    *) run="" ;;
    esac
    $run "$b" --benchmark_counters_tabular=true || status=1
done
exit $status
