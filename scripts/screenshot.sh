#!/bin/sh
# Photographs the desktop program's five pages under a virtual X server.
# Usage: sh scripts/screenshot.sh [output folder] [build folder] [WIDTHxHEIGHT]
# Writes page-1.png … page-5.png (main, extended operations, links, settings,
# memo), at the window's start size or at the size given.
# The program runs from a temporary copy so its workspace files land there.
set -e
cd "$(dirname "$0")/.."
command -v import >/dev/null || { echo "screenshot.sh needs ImageMagick: apt-get install imagemagick" >&2; exit 2; }
out=$(realpath -m "${1:-build/screenshots}")
build=$(realpath "${2:-build}")
size=${3:-}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/linkrake" "$work/"
printf 'http://example.com/index.html\r\nhttp://example.org/a/b.zip\r\nwww.example.net/\r\n' > "$work/List.txt"
printf '[SYSTEM]\r\nMEMO=RR7\r\n' > "$work/Linkrake.ini"

xvfb-run -a -s "-screen 0 800x700x24" sh -c '
  set -e
  QT_QPA_PLATFORM=xcb "$1/linkrake" & pid=$!
  for i in $(seq 1 50); do
    xdotool search --name "Linkrake Professional" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  win=$(xdotool search --name "Linkrake Professional" | head -n 1)
  if [ -n "$3" ]; then
    xdotool windowsize "$win" "${3%x*}" "${3#*x}"
    sleep 0.7
  fi
  eval "$(xdotool getwindowgeometry --shell "$win")"
  # The first tab sits at the left of the client area; Ctrl+Tab goes to
  # the next page, however wide the tabs are in this font.
  xdotool mousemove $((X + 25)) $((Y + 10)) click 1
  for n in 1 2 3 4 5; do
    sleep 0.7
    import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" "$2/page-$n.png"
    xdotool key ctrl+Tab
  done
  kill "$pid"
' sh "$work" "$out" "$size"
echo "Screenshots in $out"
