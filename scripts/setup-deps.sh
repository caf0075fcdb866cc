#!/bin/sh
# Installs, through apt-get, whatever this project needs and the machine lacks.
# Only this step needs root: an ordinary user is asked once, through sudo,
# and only when something is missing.
set -e
PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev \
  libx11-dev libxcb1-dev libxfixes-dev fonts-ipafont-gothic xvfb xauth xclip xdotool x11-utils wmctrl openbox trayer ripgrep \
  desktop-file-utils appstream dpkg-dev file clang-format-14 dbus-daemon ccache imagemagick \
  libsm-dev libxml2-dev clang libclang-rt-14-dev llvm-14 openssl curl ca-certificates \
  at-spi2-core python3-pyatspi"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
install="apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends$missing"
if [ "$(id -u)" = 0 ]; then
  sh -c "$install"
elif command -v sudo >/dev/null 2>&1; then
  sudo sh -c "$install"
else
  echo "Missing packages:$missing" >&2
  echo "Install them as root (apt-get install$missing), then run this again." >&2
  exit 1
fi
