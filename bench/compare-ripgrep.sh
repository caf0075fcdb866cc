#!/bin/bash
# Times linkrake-extract against ripgrep on the 64 MB benchmark corpus, whole
# processes in wall time, and prints linkrake's time divided by ripgrep's:
# with the default settings and with every option on.
#
# Usage: bench/compare-ripgrep.sh [BUILD_DIR]   (default: build)
#   RUNS=n      rounds (default 15); each round runs all three commands, one
#               after another, so that a busy machine slows them alike
#   SINK=pipe   output read by cat and discarded (default)
#   SINK=null   output written to /dev/null
set -euo pipefail
build=${1:-build}
runs=${RUNS:-15}
sink=${SINK:-pipe}
extract=$build/linkrake-extract
generator=$build/bench/linkrake-bench-extract
for tool in "$extract" "$generator"; do
    [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 1; }
done
command -v rg > /dev/null || { echo "ripgrep (rg) is not installed" >&2; exit 1; }

corpus=$(mktemp /tmp/linkrake-corpus.XXXXXX)
trap 'rm -f "$corpus"' EXIT
"$generator" --write "$corpus"

every=(--set WWW=1 --set ALL=1 --set NTT=1 --set EXTRACTION=1 --set RULE1=1 --set RULE2=1 --set RULE3=1)
pattern='https?://[^ "<>'"'"']+'

# Wall time of one run of "$@" in microseconds, its output discarded.
micros() {
    local start end
    start=${EPOCHREALTIME/./}
    if [ "$sink" = null ]; then
        "$@" > /dev/null
    else
        "$@" | cat > /dev/null
    fi
    end=${EPOCHREALTIME/./}
    echo $((end - start))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm the page cache and the binaries.
"$extract" "$corpus" > /dev/null
"$extract" "${every[@]}" "$corpus" > /dev/null
rg -aoN "$pattern" "$corpus" > /dev/null || true

ours=() all=() theirs=() ratioOurs=() ratioAll=()
for ((round = 0; round < runs; round++)); do
    o=$(micros "$extract" "$corpus")
    r=$(micros rg -aoN "$pattern" "$corpus")
    a=$(micros "$extract" "${every[@]}" "$corpus")
    ours+=("$o") theirs+=("$r") all+=("$a")
    ratioOurs+=("$(awk -v a="$o" -v b="$r" 'BEGIN { printf "%.4f", a / b }')")
    ratioAll+=("$(awk -v a="$a" -v b="$r" 'BEGIN { printf "%.4f", a / b }')")
done

mOurs=$(printf '%s\n' "${ours[@]}" | median)
mAll=$(printf '%s\n' "${all[@]}" | median)
mTheirs=$(printf '%s\n' "${theirs[@]}" | median)
echo "corpus: $(wc -c < "$corpus") bytes; $runs rounds; output $([ "$sink" = null ] && echo 'to /dev/null' || echo 'piped to cat')"
awk -v o="$mOurs" -v a="$mAll" -v r="$mTheirs" 'BEGIN {
    printf "median wall time: linkrake-extract %.1f ms, every option on %.1f ms, ripgrep %.1f ms\n", o / 1000, a / 1000, r / 1000
    printf "linkrake / ripgrep, defaults:       %.2f (ratio of medians)\n", o / r
    printf "linkrake / ripgrep, every option:   %.2f (ratio of medians)\n", a / r
}'
printf 'median of per-round ratios: defaults %.2f, every option %.2f\n' \
    "$(printf '%s\n' "${ratioOurs[@]}" | median)" "$(printf '%s\n' "${ratioAll[@]}" | median)"
