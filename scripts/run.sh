#!/usr/bin/env bash
# Sets up, builds and starts Dorvel. With no USB meter adapter attached it first starts the
# bundled meter simulator on a pseudo-terminal and pre-fills the port field with its path.
# With --sorting the simulator plays a sorting bench: a batch of 1000 cells, one every 2.2 s,
# for the "Cell Sorting" window (the last button of the tool bar, Ctrl+T).
set -euo pipefail
cd "$(dirname "$0")/.."
simcmd=()
if [ "${1:-}" = "--sorting" ]; then
  simcmd=(--cmd "cells 1000")
fi
scripts/setup.sh
# A first build makes only what runs; a developer's build/ keeps its tests.
if [ -f build/CMakeCache.txt ]; then scripts/build.sh; else scripts/build.sh -DDORVEL_BUILD_TESTS=OFF; fi
shopt -s nullglob
adapters=(/dev/ttyUSB* /dev/ttyACM*)
if [ ${#adapters[@]} -gt 0 ]; then
  echo "Meter adapter found: ${adapters[0]}"
  exec build/app/dorvel "${adapters[0]}"
fi
# A short device name: the meter face shows it in its link label ("Com meter").
simdir="${TMPDIR:-/tmp}/dorvel-sim-$(id -u)"
mkdir -p "$simdir"
link="$simdir/meter"
build/tools/dorvel-meter-sim --link "$link" "${simcmd[@]}" </dev/null &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
echo "Meter simulator on $link (choose it in the Port window and press OK)"
build/app/dorvel "$link"
