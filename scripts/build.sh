#!/bin/sh
# Configures and builds into ./build (Release). Extra CMake arguments, such
# as -DLINKRAKE_WERROR=ON, come from LINKRAKE_CMAKE_ARGS.
set -e
cd "$(dirname "$0")/.."
# shellcheck disable=SC2086
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release ${LINKRAKE_CMAKE_ARGS:--DLINKRAKE_WERROR=OFF} >/dev/null
cmake --build build -j"$(nproc)"
