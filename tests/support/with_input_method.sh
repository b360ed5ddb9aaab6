#!/bin/sh
# Runs a test program with a real input method: on an X server of its own (Xvfb), a session bus
# of its own, ibus with its Anthy engine typing hiragana, and a home of its own so that the
# user's input method settings are neither read nor changed. Where any piece is missing the
# program runs without a display, with INPUT_METHOD_UNAVAILABLE saying what is missing, and its
# tests skip.
if [ "$1" = "--inside" ]; then
    shift
    gsettings set org.freedesktop.ibus.engine.anthy.common input-mode 0 # hiragana
    ibus-daemon --daemonize --replace --panel=disable
    # The daemon lists its engines a while after it starts. "ibus engine NAME" fails even when
    # it sets the engine: what the daemon then names is the answer.
    tries=0
    until ibus engine anthy 2>/dev/null; [ "$(ibus engine 2>/dev/null)" = anthy ]; do
        tries=$((tries + 1))
        if [ $tries -ge 40 ]; then
            ibus exit 2>/dev/null
            unset DISPLAY
            INPUT_METHOD_UNAVAILABLE="ibus did not start its Anthy engine" exec "$@"
        fi
        sleep 0.5
    done
    QT_IM_MODULE=ibus "$@"
    status=$?
    ibus exit 2>/dev/null
    exit $status
fi

missing=""
for tool in xvfb-run dbus-run-session ibus-daemon ibus gsettings xdotool; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
[ -x /usr/libexec/ibus-engine-anthy ] || missing="$missing ibus-anthy"
if [ -n "$missing" ]; then
    unset DISPLAY
    INPUT_METHOD_UNAVAILABLE="not installed:$missing" exec "$@"
fi
home=$(mktemp -d)
# ibus looks for its tools on PATH; a stray one earlier in PATH must not answer for it.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    PATH="/usr/bin:$PATH" dbus-run-session -- sh "$0" --inside "$@"
status=$?
rm -rf "$home"
exit $status
