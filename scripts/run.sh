#!/bin/sh
# Starts Kalvion from a build folder.  Until the desktop window exists this is
# a demonstration through the command-line program: the core's figures, then
# a generated sector of a few thousand systems, its description and its 3D
# star map as a picture.
set -eu
dir="${1:-build/debug}"
"$dir/bin/kalvion-cli" demo
demo_sector="$dir/demo/Demonstration Sector.VexaDB"
mkdir -p "$dir/demo"
echo
echo "Generating a demonstration sector (50 x 50 x 50 ly) ..."
"$dir/bin/kalvion-cli" --seed 2026 generate "$demo_sector" --size 50 --replace
echo
"$dir/bin/kalvion-cli" info "$demo_sector"
echo
# The 3D star map of the sector as a picture (it needs an X display; a
# private Xvfb stands in when there is none).
"$(dirname "$0")/with-display.sh" "$dir/bin/kalvion-cli" render "$demo_sector" \
    "$dir/demo/Demonstration Sector.png" || echo "(the 3D picture could not be drawn here)"
