#!/bin/sh
# linkrake-extract on a file that grows while it is read, as a log being
# written: memory stays bounded, and the lines come out as standard input
# would give them. Usage: extractor_growing_file_test.sh
# PATH/TO/linkrake-extract
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
line='see http://grow.example/ now'
yes "$line" | head -n 600000 > "$work/log"  # 17 MB: read in pieces
(yes "$line" | head -c 300000000 >> "$work/log") &
writer=$!
"${GNU_TIME:-/usr/bin/time}" -f %M -o "$work/rss" "$tool" "$work/log" > "$work/out" || { echo "FAIL: exit status"; exit 1; }
wait "$writer"
"$tool" < "$work/log" > "$work/want"
status=0
# The writer may still be at it when the reading catches up, even within a
# line: the lines before the last one read match.
lines=$(($(wc -l < "$work/out") - 1))
[ "$lines" -ge 600000 ] || { echo "FAIL: $lines lines"; status=1; }
head -n "$lines" "$work/out" > "$work/out.head"
head -n "$lines" "$work/want" | cmp -s - "$work/out.head" || { echo "FAIL: lines differ"; status=1; }
rss=$(cat "$work/rss")
[ "$rss" -lt 100000 ] || { echo "FAIL: $rss KB resident"; status=1; }
# A FIFO named on the command line is read as a stream, as standard input is.
mkfifo "$work/fifo"
printf 'see http://fifo.example/ now\n' > "$work/fifo" &
[ "$("$tool" "$work/fifo")" = "$(printf 'http://fifo.example/\r')" ] || { echo "FAIL: a FIFO"; status=1; }
[ "$status" = 0 ] && echo "$lines lines of a growing file read, $rss KB resident"
exit "$status"
