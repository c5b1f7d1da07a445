#!/bin/sh
# Runs a test program as a screen reader would find the desktop: on a virtual X display, with
# a D-Bus session and the assistive-technology bus (AT-SPI) up, and Qt's bridge to it switched
# on. Exit 77 (skipped) when one of these tools is missing.
set -eu
launcher=/usr/libexec/at-spi-bus-launcher
command -v xvfb-run >/dev/null 2>&1 || exit 77
command -v dbus-run-session >/dev/null 2>&1 || exit 77
[ -x "$launcher" ] || exit 77
exec xvfb-run -a dbus-run-session -- sh -c '
    "$0" --launch-immediately >/dev/null 2>&1 &
    bus=$!
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
    status=$?
    kill "$bus" 2>/dev/null || true
    exit "$status"' "$launcher" "$@"
