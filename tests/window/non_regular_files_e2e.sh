#!/bin/sh
# The desktop program started over FIFOs and a device in place of its list
# and memo files: it starts (naming them in its box), SIGTERM saves what it
# may and ends it, the special files stay as they were, and the settings
# file it creates is the user's alone.
# Usage: non_regular_files_e2e.sh <linkrake>
set -u
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$1" "$folder/linkrake"
mkfifo "$folder/List.txt" "$folder/Memo1.txt"
ln -s /dev/zero "$folder/Memo2.txt"

QT_QPA_PLATFORM=offscreen "$folder/linkrake" 2> "$folder/err" &
pid=$!
sleep 2
kill -TERM "$pid"
for _ in $(seq 50); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.2
done
if kill -0 "$pid" 2> /dev/null; then
  kill -KILL "$pid"
  echo "FAIL: still running after SIGTERM"
  exit 1
fi
wait "$pid"
status=$?
fail=0
[ "$status" = 1 ] || { echo "FAIL: exit status $status, wanted 1 (files left unsaved)"; fail=1; }
[ -p "$folder/List.txt" ] && [ -p "$folder/Memo1.txt" ] && [ -L "$folder/Memo2.txt" ] \
  || { echo "FAIL: a special file was replaced"; ls -l "$folder"; fail=1; }
[ "$(grep -c '起動時に読み込めませんでした' "$folder/err")" = 3 ] || { echo "FAIL: stderr:"; cat "$folder/err"; fail=1; }
[ "$(stat -c %a "$folder/Linkrake.ini")" = 600 ] || { echo "FAIL: settings file mode"; ls -l "$folder"; fail=1; }
[ "$fail" = 0 ] && echo "started over special files, saved and ended on SIGTERM"
exit "$fail"
