#!/bin/sh
# Installs, through apt-get, whatever this project needs and the machine lacks.
set -e
PACKAGES="cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
  libx11-dev libxfixes-dev fonts-ipafont-gothic xvfb xauth xclip xdotool x11-utils wmctrl openbox trayer ripgrep \
  clang-format-14"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends $missing
fi
