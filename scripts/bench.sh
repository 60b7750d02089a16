#!/usr/bin/env bash
# Builds in Release into build-release/ and runs every benchmark program, which print
# their figures one a line ("name: value unit").
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ccache.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build-release -j "${DORVEL_JOBS:-2}"
cd build-release/bench
for program in bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  QT_QPA_PLATFORM=offscreen "./$program"
done
