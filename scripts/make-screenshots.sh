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

# Each sample as it opens: its own camera and label distances.
"$display" "$cli" render "$reach" "$out/sample-lantern-reach.png" --width 1280 --height 800
"$display" "$cli" render "$frontier" "$out/sample-thornwake-frontier.png" --width 1280 --height 800
"$display" "$cli" render "$cluster" "$out/sample-ember-cluster.png" --width 1280 --height 800
# The 3D star map as the window shows it.
"$display" "$cli" render "$frontier" "$out/star-map.png" --width 1200 --height 750 \
    --camera 0,-38,26 --target 0,0,0
"$display" "$cli" render "$cluster" "$out/cluster.png" --width 1200 --height 750 \
    --camera 0,-30,12 --target 0,0,0
# The 2D map of a hand-made neighbourhood with its routes.
"$cli" map "$reach" "$out/reach-map.png" --mode 2 --grid --routes --labels --width 1000

# The window itself, on a sample, at the screen scales of 1 and 2; a
# settings folder of its own so the user's window place does not leak in.
gui="$bin/kalvion"
if [ -x "$gui" ]; then
    conf="$(mktemp -d)"
    trap 'rm -rf "$conf"' EXIT
    XDG_CONFIG_HOME="$conf" XDG_DATA_HOME="$conf" "$display" "$gui" --screenshot "$out/window.png" "$reach"
    XDG_CONFIG_HOME="$conf" XDG_DATA_HOME="$conf" QT_SCALE_FACTOR=2 \
        "$display" "$gui" --screenshot "$out/window-scale-2.png" "$reach"
    XDG_CONFIG_HOME="$conf" XDG_DATA_HOME="$conf" "$display" "$gui" --screenshot "$out/window-frontier.png" "$frontier"
    # The windows a user opens next, driven by keys where xdotool is there.
    if command -v xdotool >/dev/null 2>&1 && command -v xwd >/dev/null 2>&1; then
        "$here/scripts/screenshot-windows.sh" "$bin" "$reach" "$out" "$frontier"
    else
        echo "make-screenshots: xdotool and xwd make the pictures of the planner and the messages" >&2
    fi
fi
echo "Pictures written to $out"
