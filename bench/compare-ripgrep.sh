#!/bin/bash
# Times linkrake-extract against ripgrep printing the http(s) URLs of the
# same file, whole processes in wall time from spawn to exit, and prints
# linkrake's time divided by ripgrep's: with the default settings and with
# every option on. Each run is timed by linkrake-bench-time-run, which
# spawns the command itself: a shell's `time` would add the fork of the
# shell, which on some virtual machines costs more than a small file's run.
# The files: the 64 MB benchmark corpus in Shift_JIS, the same text in
# UTF-8, and any UTF-8 texts named after the build folder (such as the
# Japanese documentation bench/make-ja-docs-corpus.sh puts together). CPU
# time is shown too: on a busy machine it is the steadier of the two. Then
# times the UTF-8 copy of the corpus against the Shift_JIS one: a UTF-8 file
# should cost at most twice as much.
#
# Usage: bench/compare-ripgrep.sh [BUILD_DIR [TEXT...]]   (default: build)
#   RUNS=n      rounds (default 15); each round runs the commands one after
#               another, so that a busy machine slows them alike
#   SINK=pipe   output read by cat and discarded (default)
#   SINK=null   output written to /dev/null
set -euo pipefail
build=${1:-build}
shift || true
runs=${RUNS:-15}
sink=${SINK:-pipe}
extract=$build/linkrake-extract
generator=$build/bench/linkrake-bench-extract
timer=$build/bench/linkrake-bench-time-run
for tool in "$extract" "$generator" "$timer"; do
    [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 1; }
done
command -v rg > /dev/null || { echo "ripgrep (rg) is not installed" >&2; exit 1; }
for text in "$@"; do
    [ -r "$text" ] || { echo "cannot read $text" >&2; exit 1; }
done

corpus=$(mktemp /tmp/linkrake-corpus.XXXXXX)
utf8corpus=$(mktemp /tmp/linkrake-corpus-utf8.XXXXXX)
trap 'rm -f "$corpus" "$utf8corpus"' EXIT
"$generator" --write "$corpus" --write-utf8 "$utf8corpus"

every=(--set WWW=1 --set ALL=1 --set NTT=1 --set EXTRACTION=1 --set RULE1=1 --set RULE2=1 --set RULE3=1)
pattern='https?://[^ "<>'"'"']+'

# Wall time and CPU time (user and system, the consumer's included) of one
# run of "$@" in milliseconds, its output discarded.
timed() {
    "$timer" "$sink" "$@" || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
m() { printf '%s\n' "$@" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }

echo "$runs rounds; output $([ "$sink" = null ] && echo 'to /dev/null' || echo 'piped to cat')"

# One file against ripgrep: name, path.
against_ripgrep() {
    local name=$1 file=$2
    # Warm the page cache and the binaries.
    "$extract" "$file" > /dev/null
    "$extract" "${every[@]}" "$file" > /dev/null
    rg -aoN "$pattern" "$file" > /dev/null || true
    local ours=() all=() theirs=() cpuOurs=() cpuAll=() cpuTheirs=() ratioOurs=() ratioAll=()
    local o co r cr a ca round
    for ((round = 0; round < runs; round++)); do
        read -r o co < <(timed "$extract" "$file")
        read -r r cr < <(timed rg -aoN "$pattern" "$file")
        read -r a ca < <(timed "$extract" "${every[@]}" "$file")
        ours+=("$o") theirs+=("$r") all+=("$a") cpuOurs+=("$co") cpuTheirs+=("$cr") cpuAll+=("$ca")
        ratioOurs+=("$(ratio "$o" "$r")") ratioAll+=("$(ratio "$a" "$r")")
    done
    echo "$name: $(wc -c < "$file") bytes"
    awk -v o="$(m "${ours[@]}")" -v a="$(m "${all[@]}")" -v r="$(m "${theirs[@]}")" \
        -v co="$(m "${cpuOurs[@]}")" -v ca="$(m "${cpuAll[@]}")" -v cr="$(m "${cpuTheirs[@]}")" 'BEGIN {
        printf "  median wall time:  linkrake-extract %6.1f ms, every option on %6.1f ms, ripgrep %6.1f ms\n", o, a, r
        printf "  median CPU time:   linkrake-extract %6.1f ms, every option on %6.1f ms, ripgrep %6.1f ms\n", co, ca, cr
        printf "  linkrake / ripgrep, CPU time (ratio of medians): defaults %.2f, every option %.2f\n", co / cr, ca / cr
    }'
    printf '  linkrake / ripgrep, wall time (median of per-round ratios): defaults %.2f, every option %.2f\n' \
        "$(m "${ratioOurs[@]}")" "$(m "${ratioAll[@]}")"
}

against_ripgrep "corpus in Shift_JIS" "$corpus"
against_ripgrep "corpus in UTF-8" "$utf8corpus"
for text in "$@"; do
    against_ripgrep "$text (UTF-8)" "$text"
done

# The same text in UTF-8 against Shift_JIS.
sjis=() utf8=() sjisAll=() utf8All=() cpuSjis=() cpuUtf8=() cpuSjisAll=() cpuUtf8All=() ratioUtf8=() ratioUtf8All=()
for ((round = 0; round < runs; round++)); do
    read -r s cs < <(timed "$extract" "$corpus")
    read -r u cu < <(timed "$extract" "$utf8corpus")
    read -r sa csa < <(timed "$extract" "${every[@]}" "$corpus")
    read -r ua cua < <(timed "$extract" "${every[@]}" "$utf8corpus")
    sjis+=("$s") utf8+=("$u") cpuSjis+=("$cs") cpuUtf8+=("$cu")
    sjisAll+=("$sa") utf8All+=("$ua") cpuSjisAll+=("$csa") cpuUtf8All+=("$cua")
    ratioUtf8+=("$(ratio "$u" "$s")") ratioUtf8All+=("$(ratio "$ua" "$sa")")
done
echo "UTF-8 corpus against the Shift_JIS one (the same text)"
ratios() {
    awk -v name="$1" -v s="$(m "${!2}")" -v u="$(m "${!3}")" -v cs="$(m "${!4}")" -v cu="$(m "${!5}")" 'BEGIN {
        printf "  %-13s wall: Shift_JIS %6.1f ms, UTF-8 %6.1f ms (%.2f); CPU: %6.1f ms, %6.1f ms (%.2f)\n", \
            name, s, u, u / s, cs, cu, cu / cs
    }'
}
ratios defaults 'sjis[@]' 'utf8[@]' 'cpuSjis[@]' 'cpuUtf8[@]'
ratios "every option" 'sjisAll[@]' 'utf8All[@]' 'cpuSjisAll[@]' 'cpuUtf8All[@]'
printf '  UTF-8 / Shift_JIS, wall time (median of per-round ratios): defaults %.2f, every option %.2f\n' \
    "$(m "${ratioUtf8[@]}")" "$(m "${ratioUtf8All[@]}")"
