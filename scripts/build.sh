#!/bin/sh
# Configures and builds into ./build (Release). Extra CMake arguments, such
# as -DLINKRAKE_WERROR=ON, come from LINKRAKE_CMAKE_ARGS.
set -e
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so that clones and work trees share hits.
CCACHE_BASEDIR="$(pwd)"
export CCACHE_BASEDIR
# shellcheck disable=SC2086
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  ${LINKRAKE_CMAKE_ARGS:--DLINKRAKE_WERROR=OFF} >/dev/null
cmake --build build -j"$(nproc)"
