#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize), warnings as
# errors. Further arguments go to CMake: scripts/build.sh -DDORVEL_BUILD_TESTS=OFF.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
extra=(-DDORVEL_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  extra+=(-DDORVEL_SANITIZE=ON -DDORVEL_BUILD_MANUALS=OFF -DDORVEL_BUILD_BENCHMARKS=OFF)
  shift
fi
source scripts/ccache.sh
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${extra[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
