# Sourced by the benchmarks: starts $servers (linkrake-bench-web-servers)
# answering after $delay ms on 127.0.0.1 to 127.0.0.8, with its eight base
# addresses in $work/bases once they listen. They run, and $work stays,
# until the sourcing script exits.
mkfifo "$work/in"
"$servers" "$delay" < "$work/in" > "$work/bases" &
server=$!
exec 3> "$work/in"  # the servers run until this closes
trap 'exec 3>&-; wait "$server" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ "$(wc -l < "$work/bases")" = 8 ] && break; sleep 0.1; done
