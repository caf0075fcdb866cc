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

# Median wall time in milliseconds of running "$@" $runs times.
median_ms() {
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        echo $(( (end - start) / 1000000 ))
        i=$((i + 1))
    done | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

"$extract" "$corpus" > /dev/null   # warm the page cache
ours=$(median_ms "$extract" "$corpus")
theirs=$(median_ms rg -aoN 'https?://[^ "<>'"'"']+' "$corpus")
size=$(wc -c < "$corpus")
echo "corpus: $size bytes, median of $runs runs"
echo "linkrake-extract: ${ours} ms   ($(( size / 1048576 * 1000 / (ours > 0 ? ours : 1) )) MB/s)"
echo "ripgrep:          ${theirs} ms   ($(( size / 1048576 * 1000 / (theirs > 0 ? theirs : 1) )) MB/s)"
awk -v a="$ours" -v b="$theirs" 'BEGIN { if (a > 0) printf "ripgrep time / linkrake-extract time = %.2f\n", b / a }'
