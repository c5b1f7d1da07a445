#!/usr/bin/env bash
# The files the gate-bridge package installs beside the program, checked against the program
# as built:
# - the example site file passes `gate-bridge --check` (the docs and the parser agree);
# - the systemd unit, pointed at the built program, passes `systemd-analyze verify` (its
#   options, its ExecStart and its man page reference resolve; PID 1 need not be systemd);
# - its hardening keeps systemd's exposure rating at or below 2.0, and does not shut out the
#   gates: a DeviceAllow for each serial group, the dialout group, IPv4, and no PrivateDevices
#   (which would hide /dev/ttyUSB*) or DynamicUser (the package makes a user of its own).
# Usage: bridge_service_files.sh GATE_BRIDGE UNIT SITE_EXAMPLE MAN_PAGE_GZ
set -euo pipefail
bridge=$(realpath "$1") unit="$2" example="$3" man_page="$4"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

echo "== the example site file"
status=0
output=$(timeout 20 "$bridge" --check --config "$example" 2>&1) || status=$?
[ "$status" -eq 0 ] || fail "gate-bridge --check refuses the example site file (exit $status): $output"

echo "== systemd-analyze verify"
mkdir -p "$work/man/man1"
cp "$man_page" "$work/man/man1/gate-bridge.1.gz"
sed "s|/usr/bin/gate-bridge|$bridge|g" "$unit" >"$work/gate-bridge.service"
grep -q "^ExecStart=$bridge --config /etc/gate-bridge/site.toml$" "$work/gate-bridge.service" ||
    fail "the unit's ExecStart does not run gate-bridge --config /etc/gate-bridge/site.toml"
# A reload checks the file first and signals only when the check passed: in this order.
reloads=$(grep "^ExecReload=" "$work/gate-bridge.service" | tr '\n' '|')
[ "$reloads" = "ExecReload=$bridge --check --config /etc/gate-bridge/site.toml|ExecReload=/bin/kill -HUP \$MAINPID|" ] ||
    fail "the unit's ExecReload lines are not the check and then SIGHUP: $reloads"
status=0
output=$(cd "$work" && MANPATH="$work/man" timeout 60 systemd-analyze verify \
    "$work/gate-bridge.service" 2>&1) || status=$?
if [ "$status" -ne 0 ] || [ -n "$output" ]; then
    fail "systemd-analyze verify (exit $status): $output"
fi

echo "== systemd-analyze security"
status=0
output=$(timeout 60 systemd-analyze security --offline=true --threshold=20 \
    "$work/gate-bridge.service" 2>&1) || status=$?
echo "$output" | tail -n 1
[ "$status" -eq 0 ] || fail "exposure above 2.0 (exit $status)"

echo "== what the serial gates need"
for line in 'SupplementaryGroups=dialout' 'DeviceAllow=char-ttyUSB rw' \
    'DeviceAllow=char-ttyACM rw' 'DeviceAllow=char-ttyS rw'; do
    grep -q -x -F "$line" "$unit" || fail "the unit lacks $line"
done
if grep -q -E '^(PrivateDevices=(yes|true|1)|DynamicUser=)' "$unit"; then
    fail "PrivateDevices or DynamicUser would keep the bridge from its serial adapters or its user"
fi
grep -q -E '^RestrictAddressFamilies=.*AF_INET( |$)' "$unit" || fail "AF_INET is not allowed"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
