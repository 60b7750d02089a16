#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite; --sanitize runs it under ASan+UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang-format
scripts/format.sh --check
scripts/build.sh "$@" -DDORVEL_BUILD_TESTS=ON
dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-sanitize
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2
