#!/bin/sh
# Runs a command with an X display for OpenGL: the caller's display when one
# is set, else a private Xvfb.  Mesa's software renderer draws either way, so
# pictures do not depend on the machine's graphics card.
LIBGL_ALWAYS_SOFTWARE=1
export LIBGL_ALWAYS_SOFTWARE
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "with-display: no DISPLAY and no xvfb-run (install xvfb)" >&2
    exit 1
fi
exec xvfb-run -a -s "-screen 0 1920x1200x24 +extension GLX" "$@"
