#!/bin/sh
# Broadcast tests of the module configuration on a private segment: a console host and three
# module hosts (198.18.0.0/24) in network namespaces of their own, joined by a bridge in a
# fourth. Everything is created here under names carrying this script's PID and removed on exit.
# Usage: netcfg_netns.sh <module-sim> <test binary>. Exits 77 (skipped) without root or netns.
set -u
SIM=$1
TEST=$2
TAG="gcfg$$"
SW="$TAG-sw"
CON="$TAG-con"
WORK=$(mktemp -d)
PIDS=""

cleanup() {
    for pid in $PIDS; do kill "$pid" 2>/dev/null; done
    for pid in $PIDS; do wait "$pid" 2>/dev/null; done
    for ns in "$CON" "$TAG-m1" "$TAG-m2" "$TAG-m3" "$SW"; do
        ip netns del "$ns" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

if [ "$(id -u)" != 0 ] || ! ip netns add "$SW" 2>/dev/null; then
    echo "skipped: needs root and ip netns"
    exit 77
fi
ip -n "$SW" link add br0 type bridge || exit 1
ip -n "$SW" link set br0 up

# host <namespace> <address> <port name on the bridge>
host() {
    ip netns add "$1" || exit 1
    ip -n "$SW" link add "$3" type veth peer name eth0 netns "$1" || exit 1
    ip -n "$SW" link set "$3" master br0 up
    ip -n "$1" link set lo up
    ip -n "$1" addr add "$2/24" dev eth0
    ip -n "$1" link set eth0 up
    ip -n "$1" route add 255.255.255.255 dev eth0
}
host "$CON" 198.18.0.1 pc
MODULES=""
for i in 1 2 3; do
    host "$TAG-m$i" "198.18.0.1$i" "pm$i"
    mac="00-0E-C6-00-00-0$i"
    ip netns exec "$TAG-m$i" "$SIM" --bind 0.0.0.0 --port 65535 --ip "198.18.0.1$i" \
        --mac "$mac" --user "user$i" --device "dev$i" --log "$WORK/m$i.log" >/dev/null &
    PIDS="$PIDS $!"
    MODULES="$MODULES${MODULES:+;}198.18.0.1$i=$mac=$WORK/m$i.log"
done
# Wait (bounded) until every simulator has bound its port.
n=0
while [ "$n" -lt 100 ]; do
    ready=0
    for i in 1 2 3; do grep -q listening "$WORK/m$i.log" 2>/dev/null && ready=$((ready + 1)); done
    [ "$ready" = 3 ] && break
    n=$((n + 1))
    sleep 0.1
done
[ "$ready" = 3 ] || { echo "module-sim did not start"; exit 1; }

NETCFG_NETNS_MODULES="$MODULES" QT_QPA_PLATFORM=offscreen \
    timeout 120 ip netns exec "$CON" "$TEST"
