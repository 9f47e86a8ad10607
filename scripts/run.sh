#!/bin/sh
# Starts Kalvion from a build folder with the "Thornwake Frontier" sample
# sector (a generated frontier with subsectors and trade lanes).  Where there
# is no display the program says so and runs the command-line demonstration.
set -eu
dir="${1:-build/debug}"
sample="$dir/bin/Samples/Thornwake Frontier.VexaDB"
if [ -f "$sample" ]; then
    exec "$dir/bin/kalvion" "$sample"
fi
exec "$dir/bin/kalvion"
