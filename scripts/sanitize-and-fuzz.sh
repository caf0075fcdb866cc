#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, folder build-sanitize), runs the unit and widget tests under them,
# then runs each fuzz target with a fixed seed and a fixed number of runs, so
# that two runs on the same tree do the same work.
#
# Usage: sh scripts/sanitize-and-fuzz.sh [--no-tests] [--no-fuzz]
# Environment: FUZZ_RUNS_SCALE (percent of the usual runs, default 100);
# LINKRAKE_CMAKE_ARGS (extra CMake arguments, such as -DLINKRAKE_WERROR=ON).
# Needs the Debian packages clang, libclang-rt-14-dev and llvm-14 (symbolized
# reports); it installs nothing itself. Exit status 1 on any sanitizer report,
# failing test or fuzz finding.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-sanitize

run_tests=1
run_fuzz=1
for arg in "$@"; do
  case $arg in
    --no-tests) run_tests=0 ;;
    --no-fuzz) run_fuzz=0 ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

# Runs per target: each takes about a minute of one core (the fuzzer runs on
# one). They are counts, not times, so a slower machine does the same work.
fuzz_targets="clipboard:60000 line_reader:100000 settings:90000 list_file:60000 text_encoding:20000 link_input:60000 page_links:60000 http_answer:400000"

cc=$(command -v clang-14 || command -v clang) || { echo "needs clang (apt-get install clang)" >&2; exit 2; }
cxx=$(command -v clang++-14 || command -v clang++) || { echo "needs clang++ (apt-get install clang)" >&2; exit 2; }
if [ ! -f "$("$cxx" -print-file-name=libclang_rt.fuzzer-$(uname -m).a)" ]; then
  echo "needs clang's runtime libraries (apt-get install libclang-rt-14-dev)" >&2
  exit 2
fi
symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
[ -n "$symbolizer" ] || echo "note: no llvm-symbolizer (package llvm-14); reports will show addresses only" >&2

echo "== configure and build ($build)"
CCACHE_BASEDIR="$(pwd)"
export CCACHE_BASEDIR
CC=$cc CXX=$cxx cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLINKRAKE_SANITIZE=ON -DLINKRAKE_FUZZ=ON -DLINKRAKE_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache ${LINKRAKE_CMAKE_ARGS:-} >/dev/null || exit 1
cmake --build "$build" -j"$(nproc)" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }

# Reports go to files, printed after the tests, so that a report from a
# child process whose exit status a test ignores still fails the run.
reports=$build/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0"
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"
export QT_QPA_PLATFORM=offscreen

status=0

# Prints and counts the reports written since the folder was last emptied.
check_reports() {
  found=$(find "$reports" -type f | wc -l)
  if [ "$found" -gt 0 ]; then
    echo "$found sanitizer report(s) from $1:"
    for report in "$reports"/*; do
      echo "--- $report"
      head -n 60 "$report"
    done
    status=1
    rm -f "$reports"/*
  fi
}

if [ "$run_tests" = 1 ]; then
  echo "== unit and widget tests under the sanitizers"
  # Left out: the tests that fill lists with hundreds of thousands of items
  # (they hold no logic the other tests miss) and the tests that need a
  # virtual X server.
  slow='RangeExpansion\.LargeRangesUpToTheLimit|ListOperations\.LargeListsStayFast'
  desktop='^e2e\.|end_to_end|components_x11|^packaging\.'
  (cd "$build" && ctest --output-on-failure -j"$(nproc)" -E "$slow|$desktop") || status=1
  check_reports "the tests"
fi

if [ "$run_fuzz" = 1 ]; then
  echo "== fuzz targets (seed 1)"
  scale=${FUZZ_RUNS_SCALE:-100}
  findings=$build/fuzz-findings
  rm -rf "$findings" "$build/fuzz-corpus"
  mkdir -p "$findings"
  # The fuzzer reports on its own output; files would only hide it. An
  # input whose ranges expand to hundreds of thousands of URLs frees as many
  # strings: a smaller quarantine than the default 256 MB keeps the fuzzer
  # within its memory limit and still holds the latest frees.
  export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=64"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  # The same work on every run: no reloading of the corpus folder on a clock,
  # and fixed addresses where the machine allows it (compared values that
  # hold addresses steer the mutations).
  fixed_addresses=""
  setarch "$(uname -m)" -R true 2>/dev/null && fixed_addresses="setarch $(uname -m) -R"
  for entry in $fuzz_targets; do
    name=${entry%%:*}
    runs=$((${entry#*:} * scale / 100))
    work=$build/fuzz-corpus/$name
    mkdir -p "$work"
    inputs="fuzz/corpus/$name"
    [ -d "fuzz/regressions/$name" ] && inputs="$inputs fuzz/regressions/$name"
    log=$findings/$name.log
    start=$(date +%s)
    # New inputs go to the scratch folder, never into the tree.
    $fixed_addresses "$build/fuzz/linkrake_fuzz_$name" -seed=1 -runs="$runs" -reload=0 -max_len=4096 -timeout=20 \
      -print_final_stats=1 -artifact_prefix="$findings/$name-" "$work" $inputs >"$log" 2>&1
    code=$?
    seconds=$(($(date +%s) - start))
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(echo "$done_line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$done_line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    corpus=$(echo "$done_line" | sed -n 's/.*corp: \([0-9]*\).*/\1/p')
    found=$(find "$findings" -name "$name-*" -type f | wc -l)
    echo "$name: runs ${executed:-?}, cov ${cov:-?}, ft ${ft:-?}, corpus ${corpus:-?}, findings $found, ${seconds}s"
    if [ "$code" -ne 0 ] || [ "$found" -gt 0 ]; then
      status=1
      echo "--- $name failed (exit $code); the end of $log:"
      tail -n 60 "$log"
      echo "--- make the input a regression case: copy it into fuzz/regressions/$name/"
    fi
  done
fi

if [ "$status" -eq 0 ]; then
  echo "== sanitizers and fuzzing: clean"
else
  echo "== sanitizers and fuzzing: FAILED"
fi
exit "$status"
