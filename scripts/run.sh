#!/bin/sh
# Starts Kalvion from a build folder.  Until the desktop window exists this is
# a demonstration through the command-line program: the core's figures, then
# a generated sector of a few thousand systems and its description.
set -eu
dir="${1:-build/debug}"
"$dir/bin/kalvion-cli" demo
demo_sector="$dir/demo/Demonstration Sector.VexaDB"
mkdir -p "$dir/demo"
echo
echo "Generating a demonstration sector (50 x 50 x 50 ly) ..."
"$dir/bin/kalvion-cli" --seed 2026 generate "$demo_sector" --size 50 --replace
echo
exec "$dir/bin/kalvion-cli" info "$demo_sector"
