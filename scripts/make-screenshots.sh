#!/bin/sh
# Makes the pictures of the user guide from the real program, so they stay
# current:  make-screenshots.sh [BUILD_DIR]   (default build/debug)
# writes docs/images/*.png.  The 3D pictures need an X display; a private
# Xvfb stands in when there is none (scripts/with-display.sh).
set -eu
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build/debug}" && pwd)"
bin="$build/bin"
out="$here/docs/images"
cli="$bin/kalvion-cli"
display="$here/scripts/with-display.sh"
export KALVION_DATA_DIR="$bin"
mkdir -p "$out"

[ -x "$cli" ] || { echo "make-screenshots: build kalvion-cli first ($cli)" >&2; exit 1; }
[ -f "$bin/Samples/Thornwake Frontier.VexaDB" ] ||
    { echo "make-screenshots: the samples are missing; build the kalvion_samples target" >&2; exit 1; }

frontier="$bin/Samples/Thornwake Frontier.VexaDB"
reach="$bin/Samples/Lantern Reach.VexaDB"
cluster="$bin/Samples/Ember Cluster.VexaDB"

# The 3D star map as the window shows it.
"$display" "$cli" render "$frontier" "$out/star-map.png" --width 1200 --height 750 \
    --camera 0,-38,26 --target 0,0,0
"$display" "$cli" render "$cluster" "$out/cluster.png" --width 1200 --height 750 \
    --camera 0,-30,12 --target 0,0,0
# The 2D map of a hand-made neighbourhood with its routes.
"$cli" map "$reach" "$out/reach-map.png" --mode 2 --grid --routes --labels --width 1000

# The window itself is added here once it can be started under Xvfb.
echo "Pictures written to $out"
