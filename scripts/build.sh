#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize), warnings as
# errors. Further arguments go to CMake: scripts/build.sh -DDORVEL_BUILD_TESTS=OFF.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
extra=(-DDORVEL_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  extra+=(-DDORVEL_SANITIZE=ON -DDORVEL_BUILD_MANUALS=OFF)
  shift
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths relative to the checkout, and the build folder left out of the hash: a second
  # clone of the tree (CI's, a worktree) finds what the first one compiled.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${extra[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
