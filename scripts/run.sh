#!/bin/sh
# Installs what is missing, builds, and starts the desktop program.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup-deps.sh
sh scripts/build.sh
if [ -x build/linkrake ]; then
  exec build/linkrake "$@"
fi
echo "The desktop program is not built yet; here is the command-line extractor instead."
exec build/linkrake-extract --help
