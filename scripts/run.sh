#!/bin/sh
# Starts Kalvion from a build folder.  Until the desktop window exists this is a
# short demonstration through the command-line program.
set -eu
dir="${1:-build/debug}"
exec "$dir/bin/kalvion-cli" demo
