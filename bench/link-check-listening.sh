#!/bin/sh
# The window checking 10,000 local addresses while a screen reader listens
# to its events and asks it questions every 100 ms: prints how long the
# check took and the longest wait for an answer.
#   bench/link-check-listening.sh [BUILD_DIR]   (default: build)
#   COUNT=n   addresses (default 10000)
#   DELAY=ms  the local servers' answer delay (default 10)
set -eu
build=${1:-build}
count=${COUNT:-10000}
delay=${DELAY:-10}
here=$(cd "$(dirname "$0")" && pwd)
bench=$(cd "$build" && pwd)/bench/linkrake-bench-link-window
servers=$build/bench/linkrake-bench-web-servers
for tool in "$bench" "$servers"; do
    [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 1; }
done
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

work=$(mktemp -d /tmp/linkrake-window-check.XXXXXX)
. "$here/local-web-servers.sh"

dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
  sleep 1
  /usr/bin/python3 "$0/atspi-listener.py" /dev/null & listener=$!
  sleep 1
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb xvfb-run -a sh -c "
    \"\$0\" \"\$1\" --count \"\$2\" & window=\$!
    /usr/bin/python3 \"\$3/atspi-prober.py\" linkrake-bench-link-window
    wait \$window" "$1" "$2" "$3" "$0"
  kill -TERM $listener; wait $listener
  kill $launcher' "$here" "$bench" "$work/bases" "$count"
