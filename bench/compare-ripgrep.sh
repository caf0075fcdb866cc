#!/bin/sh
# Times linkrake-extract (default settings) against ripgrep on the 64 MB
# benchmark corpus and prints the medians and their ratio.
# Usage: bench/compare-ripgrep.sh [BUILD_DIR]   (default: build)
set -eu
build=${1:-build}
runs=${RUNS:-7}
extract=$build/linkrake-extract
generator=$build/bench/linkrake-bench-extract
for tool in "$extract" "$generator"; do
    [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 1; }
done
command -v rg > /dev/null || { echo "ripgrep (rg) is not installed" >&2; exit 1; }

corpus=$(mktemp /tmp/linkrake-corpus.XXXXXX)
trap 'rm -f "$corpus"' EXIT
"$generator" --write "$corpus"

# Wall times in milliseconds of running "$@" $runs times, sorted.
times_ms() {
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        echo $(( (end - start) / 1000000 ))
        i=$((i + 1))
    done | sort -n
}
best() { head -n 1; }
median() { sed -n "$(( (runs + 1) / 2 ))p"; }

"$extract" "$corpus" > /dev/null   # warm the page cache
ours=$(times_ms "$extract" "$corpus")
theirs=$(times_ms rg -aoN 'https?://[^ "<>'"'"']+' "$corpus")
size=$(wc -c < "$corpus")
echo "corpus: $size bytes, $runs runs each (wall time, ms)"
printf '%-18s best %5s  median %5s\n' linkrake-extract "$(echo "$ours" | best)" "$(echo "$ours" | median)"
printf '%-18s best %5s  median %5s\n' ripgrep "$(echo "$theirs" | best)" "$(echo "$theirs" | median)"
awk -v a="$(echo "$ours" | median)" -v b="$(echo "$theirs" | median)" -v c="$(echo "$ours" | best)" \
    -v d="$(echo "$theirs" | best)" 'BEGIN {
        if (a > 0 && c > 0) printf "ripgrep / linkrake-extract: %.2f (medians), %.2f (best)\n", b / a, d / c }'
