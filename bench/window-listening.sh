#!/bin/sh
# The window benchmark as a screen-reader user meets it: a private session
# bus with the accessibility bus, an X server, and a client listening to the
# window's events, with GNU sort of the same lines timed before and after.
#   bench/window-listening.sh BENCH_BINARY [LOG] [bench arguments...]
# LOG receives every event the client heard (default: /dev/null).
# The list sorted is written by build/bench/linkrake-bench-window
# --write-list (LISTER names another).
set -e
bench=$1
log=${2:-/dev/null}
shift; [ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")" && pwd)
lister=${LISTER:-$here/../build/bench/linkrake-bench-window}
list=$(mktemp) sorted=$(mktemp)
trap 'rm -f "$list" "$sorted"' EXIT
QT_QPA_PLATFORM=offscreen "$lister" --write-list "$list" "$@" >/dev/null

time_sort() {
    start=$(date +%s.%N)
    LC_ALL=C.UTF-8 sort -o "$sorted" "$list"
    echo "GNU sort           $(echo "$(date +%s.%N) - $start" | bc) s wall"
}

time_sort
dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
  sleep 1
  /usr/bin/python3 "$0" "$1" & listener=$!
  sleep 1
  shift
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb xvfb-run -a "$@"
  kill -TERM $listener; wait $listener
  kill $launcher' "$here/atspi-listener.py" "$log" "$bench" "$@"
time_sort
