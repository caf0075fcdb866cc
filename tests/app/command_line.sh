#!/bin/sh
# The desktop program's command line, with no display at all: help and
# version on standard output with status 0, mistakes on standard error with
# status 2 and nothing on standard output.
# Usage: command_line.sh <linkrake> <version>
program=$1
version=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail=0

# holds <stream> <pattern, or - for nothing at all> <argument>...
holds() {
  if [ "$2" = - ]; then
    [ ! -s "$out/$1" ] || { echo "linkrake $3: $1 not empty:"; cat "$out/$1"; fail=1; }
  else
    grep -q -- "$2" "$out/$1" || { echo "linkrake $3: $1 lacks '$2':"; cat "$out/$1"; fail=1; }
  fi
}

# expect <status> <stdout pattern> <stderr pattern> <argument>...
expect() {
  status=$1 stdout=$2 stderr=$3
  shift 3
  "$program" "$@" >"$out/stdout" 2>"$out/stderr"
  got=$?
  [ "$got" = "$status" ] || { echo "linkrake $*: status $got, not $status"; fail=1; }
  holds stdout "$stdout" "$*"
  holds stderr "$stderr" "$*"
}

expect 0 '--open-shortcut FILE' - --help
expect 0 '--minimized' - -h
expect 0 "^linkrake $version\$" - --version
expect 2 - "Unknown option 'bogus'" --bogus
expect 2 - "unexpected argument 'stray.txt'" stray.txt
expect 2 - "--open-shortcut needs at least one FILE" --open-shortcut
expect 1 - "no display" --open-shortcut some.url
expect 1 - "no display"
[ "$fail" = 0 ] && echo "help, version, mistakes and the missing display answered without a display"
exit "$fail"
