#!/bin/bash
# Times linkrake-check against curl fetching the same 2,000 URLs on eight
# local hosts (127.0.0.1 to 127.0.0.8, each answering after DELAY ms), both
# with 16 requests at once, in the same run, and reports the checker's peak
# memory. The checker keeps to 2 requests per host; curl to none, but with
# the URLs taken in turn from each host it, too, opens 2 connections to each
# and keeps them alive.
#
# Usage: bench/compare-curl.sh [BUILD_DIR]   (default: build)
#   RUNS=n    rounds (default 3), each running both, one after the other
#   DELAY=ms  the servers' answer delay (default 10)
set -euo pipefail
build=${1:-build}
runs=${RUNS:-3}
delay=${DELAY:-10}
check=$build/linkrake-check
servers=$build/bench/linkrake-bench-web-servers
for tool in "$check" "$servers"; do
    [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 1; }
done
command -v curl > /dev/null || { echo "curl is not installed" >&2; exit 1; }
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

work=$(mktemp -d /tmp/linkrake-curl.XXXXXX)
. "$(dirname "$0")/local-web-servers.sh"

mapfile -t bases < "$work/bases"
for i in $(seq 0 1999); do
    echo "${bases[$((i % 8))]}/page/$i"
done > "$work/urls"
sed 's/.*/url = "&"\noutput = "\/dev\/null"/' "$work/urls" > "$work/curl.conf"

ms() { date +%s%3N; }
for round in $(seq "$runs"); do
    start=$(ms)
    /usr/bin/time -f %M -o "$work/rss" "$check" "$work/urls" > "$work/out"
    checker=$(( $(ms) - start ))
    ok=$(grep -c '^ok' "$work/out" || true)
    start=$(ms)
    curl --parallel --parallel-max 16 -s -K "$work/curl.conf" 2> /dev/null
    peer=$(( $(ms) - start ))
    echo "round $round: linkrake-check ${checker} ms ($ok/2000 ok, peak $(( $(cat "$work/rss") / 1024 )) MB), curl ${peer} ms"
done
