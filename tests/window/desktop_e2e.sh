#!/bin/sh
# The desktop program as a user runs it: copied into its own folder with a
# list and a memo, started, closed through the window manager's close
# request; the settings, list and memo files must then be written there.
# Usage (inside an X server): desktop_e2e.sh <linkrake> <close-window helper>
set -e
. "$(dirname "$0")/../support/close_main_window.sh"
program=$1
close_window=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/linkrake"
printf 'http://one.example/\r\n\r\nhttp://two.example/\r\n' > "$folder/List.txt"
printf 'memo line\r\n' > "$folder/Memo1.txt"

# The test runner may ask every Qt program to run headless; this one needs X.
QT_QPA_PLATFORM=xcb "$folder/linkrake" &
close_main_window $! "$close_window" || exit 1

fail=0
check() {
  if [ "$(od -An -c "$folder/$1" | tr -d ' \n')" != "$(printf "$2" | od -An -c | tr -d ' \n')" ]; then
    echo "$1 differs:"; od -c "$folder/$1"; fail=1
  fi
}
check List.txt 'http://one.example/\r\n\r\nhttp://two.example/\r\n'
check Memo1.txt 'memo line\r\n'
check Memo2.txt ''
grep -q '^PREFIX=URL-' "$folder/Linkrake.ini" || { echo "settings not written"; cat "$folder/Linkrake.ini"; fail=1; }
grep -q '^NUMBER=4' "$folder/Linkrake.ini" || { echo "digit count not written"; fail=1; }
[ "$fail" = 0 ] && echo "settings, list and memo files written"
exit "$fail"
