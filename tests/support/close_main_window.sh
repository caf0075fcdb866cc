# Sourced by the end-to-end scripts that start the desktop program.
# close_main_window <pid> <close-window helper>: waits for the program's
# window, closes it through the window manager's close request and waits
# for the program to end; fails, saying why, unless it ended with status 0.
close_main_window() {
  windows=""
  for i in $(seq 1 300); do
    # Shown ones only: the program's helper windows carry the same title and
    # exist before the main window does.
    windows=$(xdotool search --onlyvisible --name '^Linkrake Professional$' 2>/dev/null || true)
    [ -n "$windows" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$windows" ]; then
    echo "the window never appeared"
    kill "$1" 2>/dev/null || true
    return 1
  fi
  sleep 0.5
  "$2" $windows
  # Closing syncs four files to disk, which takes seconds on a busy machine.
  for i in $(seq 1 300); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$1" 2>/dev/null; then
    echo "the program did not end after its window was closed (a file could not be written?)"
    kill "$1"
    return 1
  fi
  wait "$1" || { echo "the program failed"; return 1; }
}
