#!/bin/sh
# Pictures of the windows a user opens, taken from the running program on a
# private Xvfb and driven by keys (xdotool), for the user guide:
#   screenshot-windows.sh BIN_DIR SAMPLE OUT_DIR [LARGE_SAMPLE]
# writes OUT_DIR/route-planner.png and OUT_DIR/quick-search.png, and with a
# large sample OUT_DIR/long-message.png (the List Populated Systems plug-in).
set -eu
bin="$1"; sample="$2"; out="$3"; large="${4:-}"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in Xvfb xdotool xwd python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "screenshot-windows: $tool is needed" >&2; exit 1; }
done
work="$(mktemp -d)"
display=":$((90 + $$ % 50))"
Xvfb "$display" -screen 0 1400x900x24 +extension GLX >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; [ -n "${app:-}" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display" LIBGL_ALWAYS_SOFTWARE=1 XDG_CONFIG_HOME="$work" XDG_DATA_HOME="$work"
export KALVION_DATA_DIR="$bin" KALVION_ANSWERS_FILE="$work/answers"
: > "$work/answers"
until xdpyinfo >/dev/null 2>&1 || xdotool getmouselocation >/dev/null 2>&1; do sleep 0.2; done
log="$work/answers.log"
start() { # start FILE: the program on it, once its first frame is drawn
    rm -f "$log"
    "$bin/kalvion" "$1" >/dev/null 2>&1 &
    app=$!
    # The window notes where its 3D view lies once it has drawn.
    until grep -q '^view' "$log" 2>/dev/null; do sleep 0.2; done
    main="$(xdotool search --sync --onlyvisible --name 'Sector \(' | head -1)"
}
start "$sample"
grab() { # grab NAME: the whole screen, cut to the windows' extent
    xwd -root -silent > "$work/shot.xwd"
    python3 "$here/xwd-to-png.py" "$work/shot.xwd" "$out/$1.png" "0,0,$2"
}
keys() { xdotool key --delay 120 "$@"; }

# The quick search: a name of two words, typed into the box and found.
set -- $(grep '^quicksearch' "$log" | tail -1 | cut -f3)
if [ $# -ge 4 ]; then
    xdotool mousemove $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 )) click 1
    xdotool type --delay 60 "Ebon Gate"
    keys Return
    until grep -q '^results' "$log" 2>/dev/null; do sleep 0.2; done
    sleep 1
    grab quick-search 1100,780
fi

# Actions > Plan Route...: from the capital to the far side of the reach.
xdotool windowfocus --sync "$main"
keys alt+f Left Left Left Left Left Left Left Up Up Return
planner="$(xdotool search --sync --name '^Route Planner$' | head -1)"
xdotool windowfocus --sync "$planner"
xdotool type --delay 60 "Kessa"
keys Tab
xdotool type --delay 60 "Corvain"
keys Tab ctrl+a
xdotool type --delay 60 "5"
keys Return
# Aside, so the trip drawn on the map shows beside the window.
xdotool windowmove "$planner" 700 400
sleep 2
grab route-planner 1400,900

# A plug-in's message far taller than the screen: a window that scrolls.
# Messages are answered from the answers file while it is set, so this run
# goes without one and shows the real window.
if [ -n "$large" ]; then
    kill "$app"
    wait "$app" 2>/dev/null || true
    KALVION_ANSWERS_FILE= "$bin/kalvion" "$large" >/dev/null 2>&1 &
    app=$!
    main="$(xdotool search --sync --onlyvisible --name 'Sector \(' | head -1)"
    sleep 3
    windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l; }
    before="$(windows)"
    xdotool windowfocus --sync "$main"
    keys alt+f Left Left Down Return
    tries=0
    while [ "$(windows)" -le "$before" ] && [ $tries -lt 300 ]; do sleep 0.2; tries=$((tries + 1)); done
    sleep 1
    grab long-message 1400,900
fi
