#!/bin/sh
# Makes the sample sectors and the sector templates that ship with Kalvion,
# with kalvion-cli, so they can be remade at any time:
#   make-samples.sh BIN_DIR
# writes BIN_DIR/Samples/*.VexaDB and BIN_DIR/Templates/*.VexaDB, using
# BIN_DIR/kalvion-cli and the data beside it.  Fixed seeds make the generated
# sectors the same on every run (apart from the identities of their objects).
set -eu
# In sanitizer builds a leak report at exit must not fail the build step.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
bin="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")/.." && pwd)"
src="$here/packaging/samples"
cli="$bin/kalvion-cli"
export KALVION_DATA_DIR="$bin"
# Scratch files of the generator go to a private folder, not the user's.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch"

command -v sqlite3 >/dev/null 2>&1 ||
    { echo "make-samples: sqlite3 is needed (apt-get install sqlite3)" >&2; exit 1; }

work="$scratch/out"
mkdir -p "$work/Samples" "$work/Templates"
# Quiet unless it fails: then what the command said.
q() { "$cli" "$@" >/dev/null 2>"$scratch/err" || { cat "$scratch/err" >&2; return 1; }; }

# 1. Lantern Reach: a hand-made neighbourhood of twelve systems, three powers
#    and their routes.
reach="$work/Samples/Lantern Reach.VexaDB"
q new "$reach" --size 20,16,8
q import-csv "$reach" "$src/lantern-reach.csv"
sqlite3 -bail "$reach" < "$src/lantern-reach.sql"
# Each sample opens on a view of the whole sector, a little from above, with
# the names of its nearer systems shown in a pale gold that reads on black
# ("frame CAMERA LABEL_DISTANCE").
frame() {
    sqlite3 -bail "$1" "update sector_info set origin_camera_x = $2, origin_camera_y = $3, origin_camera_z = $4,
        origin_target_x = 0, origin_target_y = 0, origin_target_z = 0;
        update bodies set label_distance = $5, route_distance = 200, label_color = 14742270 where parent_id = 0;"
}
frame "$reach" 4 12 30 50

# 2. Thornwake Frontier: a generated box of space cut into subsectors, with
#    trade routes between its populated systems.
frontier="$work/Samples/Thornwake Frontier.VexaDB"
q --seed 3141 generate "$frontier" --size 40,40,12 --subsectors 4,4,1 --names "Kalvion Frontier Names.ilt"
q --seed 3141 routes "$frontier" --proximity --style pop --max 8 --per-system 2 \
    --type Trade --label "Frontier Lane" --color 40C0F0
frame "$frontier" 0 -8 60 58

# 3. Ember Cluster: a spherical, clustered star cloud.
cluster="$work/Samples/Ember Cluster.VexaDB"
q --seed 2718 generate "$cluster" --shape sphere --radius 14 --distribution clustered \
    --frequency 12 --names "Kalvion Classical Names.ilt" --no-subsectors
frame "$cluster" 0 10 42 47
# A coarse sphere grid without numbers, so the stars stand out from it.
sqlite3 -bail "$cluster" "update sector_info set grid_tick = 30, grid_tick_labels = 0"

# Templates: empty sectors with their shape, size and unit set, for
# File > Open Template.
q new "$work/Templates/Frontier Box 100 ly.VexaDB" --size 100,100,30
q new "$work/Templates/Parsec Sphere 20 pc.VexaDB" --sphere 20 --unit pc

# Only complete results replace what was there.
for d in Samples Templates; do
    mkdir -p "$bin/$d"
    for f in "$work/$d"/*.VexaDB; do
        mv -f "$f" "$bin/$d/"
    done
done
