#!/usr/bin/env bash
# Builds the Debian package into build-package/: a Release build for /usr without tests,
# then `cpack -G DEB`. Install it with: sudo apt install ./build-package/dorvel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dpkg-dev file
source scripts/ccache.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DDORVEL_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build build-package -j "$(nproc)"
cd build-package
cpack -G DEB
