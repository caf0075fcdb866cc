#!/bin/sh
# An installed copy as people use it: installed by root into a prefix that
# only root may write, then started and closed by an ordinary user, twice; the
# workspace files must live in that user's data folder and the list must come
# back at the next start. A portable copy in a folder the user cannot write
# falls back to the same folder, and root's own runs keep out of the prefix.
# Usage (inside an X server): installed_e2e.sh <build folder> <close-window helper>
set -e
. "$(dirname "$0")/../support/close_main_window.sh"
build=$1
close_window=$2
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT
chmod 755 "$top"
prefix=$top/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
problem() { echo "$*"; fail=1; }

# ---- What the install puts where ----
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "linkrake linkrake-check linkrake-extract " ] \
  || problem "bin/ holds: $(ls "$prefix/bin" | tr '\n' ' ')"
for file in share/linkrake/installed \
  share/applications/io.github.linkrake.Linkrake.desktop \
  share/applications/io.github.linkrake.Linkrake.OpenShortcut.desktop \
  share/metainfo/io.github.linkrake.Linkrake.metainfo.xml \
  share/icons/hicolor/scalable/apps/io.github.linkrake.Linkrake.svg \
  share/man/man1/linkrake.1.gz share/man/man1/linkrake-extract.1.gz share/man/man1/linkrake-check.1.gz; do
  [ -f "$prefix/$file" ] || problem "missing: $file"
done
for size in 16 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/io.github.linkrake.Linkrake.png
  file "$icon" | grep -q "$size x $size" || problem "icon at $size px: $(file "$icon")"
done

# ---- Running it ----
# As root the runs go through setpriv to the unprivileged uid; a developer who
# is not root runs them as themselves, with the prefix made read-only.
if [ "$(id -u)" = 0 ]; then
  user_id=65534
  as_user="setpriv --reuid=$user_id --regid=$user_id --clear-groups --"
else
  user_id=$(id -u)
  as_user=""
  chmod -R a-w "$prefix"
  trap 'chmod -R u+w "$top"; rm -rf "$top"' EXIT
fi
home=$top/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
# The user reaches the X server through a copy of its key.
[ -n "$XAUTHORITY" ] && cp "$XAUTHORITY" "$home/.Xauthority"
chown -R "$user_id" "$home"
data=$home/.local/share/linkrake

# run_and_close <home> <program> [user]: starts the program under that home,
# as the user when asked, and closes it through the window manager's close
# request.
run_and_close() {
  runner=""
  [ "$3" = user ] && runner=$as_user
  env -u XDG_DATA_HOME HOME="$1" XAUTHORITY="$home/.Xauthority" XDG_RUNTIME_DIR="$1/runtime" \
    QT_QPA_PLATFORM=xcb $runner "$2" &
  close_main_window $! "$close_window"
}

list_is() {
  [ "$(od -An -c "$data/List.txt" | tr -d ' \n')" = "$(printf "$1" | od -An -c | tr -d ' \n')" ] \
    || { echo "List.txt differs after $2:"; od -c "$data/List.txt"; fail=1; }
}

# First start: the data folder does not exist yet.
run_and_close "$home" "$prefix/bin/linkrake" user
for file in Linkrake.ini List.txt Memo1.txt Memo2.txt; do
  [ -f "$data/$file" ] || problem "first start: $file not in $data"
done
[ "$(stat -c %u "$data")" = "$user_id" ] || problem "the data folder does not belong to the user"
[ "$(stat -c %a "$data")" = 700 ] || problem "the data folder is open to others: $(stat -c %a "$data")"
[ "$(stat -c %a "$data/Memo1.txt")" = 600 ] || problem "a memo is open to others"

# Second start finds the list fed meanwhile and writes it back.
printf 'http://one.example/\r\n\r\nhttp://two.example/\r\n' > "$data/List.txt"
chown "$user_id" "$data/List.txt"
run_and_close "$home" "$prefix/bin/linkrake" user
list_is 'http://one.example/\r\n\r\nhttp://two.example/\r\n' "the second start"

# A portable copy where the user may not write falls back to the data folder.
mkdir "$top/portable"
cp "$prefix/bin/linkrake" "$top/portable/"
[ "$(id -u)" = 0 ] || chmod a-w "$top/portable"
printf 'http://three.example/\r\n' > "$data/List.txt"
run_and_close "$home" "$top/portable/linkrake" user
list_is 'http://three.example/\r\n' "a portable copy in a read-only folder"
[ "$(ls "$top/portable")" = "linkrake" ] || problem "the portable copy wrote next to itself"

# Root, who could write into the prefix, still keeps to its own data folder.
if [ "$(id -u)" = 0 ]; then
  root_home=$top/root-home
  mkdir -p "$root_home/runtime"
  chmod 700 "$root_home/runtime"
  run_and_close "$root_home" "$prefix/bin/linkrake"
  [ -f "$root_home/.local/share/linkrake/List.txt" ] || problem "root: List.txt not in its data folder"
fi
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "linkrake linkrake-check linkrake-extract " ] \
  || problem "files written next to the installed program: $(ls "$prefix/bin" | tr '\n' ' ')"

[ "$fail" = 0 ] && echo "installed copy: workspace files in the user's data folder, list found again"
exit "$fail"
