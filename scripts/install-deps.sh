#!/bin/sh
# Installs the Debian packages Kalvion needs to build, test and run.
# As root it runs apt-get (after an update); otherwise it prints the command.
set -e

PACKAGES="
build-essential cmake ninja-build ccache pkg-config
qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-svg-dev qt6-qpa-plugins qt6-image-formats-plugins
libsqlite3-dev sqlite3 libassimp-dev libxml2-dev libglu1-mesa-dev libgl1-mesa-dri libpcre2-dev
libcli11-dev nlohmann-json3-dev
libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
libgtest-dev libgmock-dev libbenchmark-dev liblua5.4-dev
xvfb xauth xdotool x11-apps fonts-dejavu-core libjs-three chromium
clang libclang-rt-dev
desktop-file-utils appstream lintian shared-mime-info xdg-utils libglib2.0-bin dpkg-dev man-db
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends $missing
else
    echo "Missing packages:$missing" >&2
    echo "Run as root: apt-get update && apt-get install -y$missing" >&2
    exit 1
fi
