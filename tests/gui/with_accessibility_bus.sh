#!/bin/sh
# Runs a test program as a screen reader would find the desktop: on a virtual X display, with
# a D-Bus session and the assistive-technology bus (AT-SPI) up, and Qt's bridge to it switched
# on. Exit 77 (skipped) when one of these tools is missing.
#
# Xvfb picks a free display itself and names it on a descriptor once it accepts connections
# (-displayfd), so the test never races the server's start-up or another display's owner.
set -eu
launcher=/usr/libexec/at-spi-bus-launcher
command -v Xvfb >/dev/null 2>&1 || exit 77
command -v dbus-run-session >/dev/null 2>&1 || exit 77
[ -x "$launcher" ] || exit 77
scratch=$(mktemp -d)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$scratch/display" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
tries=0
while [ ! -s "$scratch/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "with_accessibility_bus: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=:$(head -n 1 "$scratch/display")
export DISPLAY
status=0
dbus-run-session -- sh -c '
    "$0" --launch-immediately >/dev/null 2>&1 &
    bus=$!
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
    status=$?
    kill "$bus" 2>/dev/null || true
    exit "$status"' "$launcher" "$@" || status=$?
exit "$status"
