#!/usr/bin/env bash
# scripts/check-layers on a small tree of its own: gate-bridge (src/bridge) may include util,
# gate, core and its own files, no Qt Widgets or Qt Gui header and no layer above core; no other
# folder may include bridge/. Each row is one file and whether the check must refuse it.
# Usage: check_layers_bridge.sh CHECK_LAYERS
set -euo pipefail
check_layers="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

mkdir -p "$tree"/src/{util,gate,core/monitor,gui,app,cli,bridge} "$tree/sim"
touch "$tree/src/util/hex.h" "$tree/src/gate/gate_library.h" "$tree/src/core/monitor/live_event.h" \
    "$tree/src/gui/prompter.h" "$tree/src/app/console.h" "$tree/src/cli/link_options.h" \
    "$tree/src/bridge/spool.h"

failures=0
# row: file, its one include line, "refused" or "accepted"
row() {
    local file="$1" include="$2" expected="$3" output status=0
    find "$tree/src" -name '*.cpp' -delete
    printf '%s\n' "$include" >"$tree/$file"
    output=$("$check_layers" "$tree" 2>&1) || status=$?
    local got=accepted
    if [ "$status" -eq 1 ] && grep -q "^$file:1: " <<<"$output"; then
        got=refused
    elif [ "$status" -ne 0 ]; then
        got="exit $status: $output"
    fi
    if [ "$got" != "$expected" ]; then
        echo "FAIL: $file with '$include': expected $expected, got $got"
        echo "$output"
        failures=$((failures + 1))
    fi
}

row src/bridge/worker.cpp '#include "util/hex.h"' accepted
row src/bridge/worker.cpp '#include "gate/gate_library.h"' accepted
row src/bridge/worker.cpp '#include "core/monitor/live_event.h"' accepted
row src/bridge/worker.cpp '#include "spool.h"' accepted
row src/bridge/worker.cpp '#include "bridge/spool.h"' accepted
row src/bridge/worker.cpp '#include <QtCore/QTimer>' accepted
row src/bridge/worker.cpp '#include "gui/prompter.h"' refused
row src/bridge/worker.cpp '#include "app/console.h"' refused
row src/bridge/worker.cpp '#include "cli/link_options.h"' refused
row src/bridge/worker.cpp '#include <QWidget>' refused
row src/bridge/worker.cpp '#include <QtGui/QColor>' refused
row src/core/monitor/event.cpp '#include "bridge/spool.h"' refused
row src/app/main.cpp '#include "bridge/spool.h"' refused
row src/cli/monitor.cpp '#include "bridge/spool.h"' refused

if [ "$failures" -ne 0 ]; then
    echo "$failures row(s) failed"
    exit 1
fi
echo "every row as expected"
