#!/bin/sh
# Runs a test program on an X server of its own (Xvfb), for what only a real window system
# shows, such as the title a window carries. Without xvfb-run the program runs without a
# display, with X_SERVER_UNAVAILABLE saying why, and its tests skip.
if command -v xvfb-run >/dev/null 2>&1; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
fi
unset DISPLAY
X_SERVER_UNAVAILABLE="xvfb-run is not installed" exec "$@"
