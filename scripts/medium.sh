#!/usr/bin/env bash
# Lays out an installation medium in a folder (default build-medium/): Gatefold at its top
# with the folders it shows: picture/, help/ (the manuals), Install/ (the Debian package
# and setup.exe, a small script that opens it in the desktop's package installer),
# driver/ and Protocol/ (empty: for the Windows driver and the protocol notes, when
# shipped). Run scripts/package.sh first to have the package on the medium.
set -euo pipefail
cd "$(dirname "$0")/.."
medium=$(realpath -m "${1:-build-medium}")
scripts/setup.sh
# A first build makes only what runs; a developer's build/ keeps its tests.
if [ -f build/CMakeCache.txt ]; then scripts/build.sh >/dev/null; else scripts/build.sh -DDORVEL_BUILD_TESTS=OFF >/dev/null; fi
rm -rf "$medium"
mkdir -p "$medium"/{picture,help,Install,driver,Protocol}
cmake --install build --component medium --prefix "$medium" >/dev/null
QT_QPA_PLATFORM=offscreen build/tools/dorvel-snapshots --medium-pictures "$medium/picture" 2>/dev/null
cp build/app/help/*.pdf "$medium/help/"
shopt -s nullglob
debs=(build-package/dorvel_*.deb)
if [ ${#debs[@]} -gt 0 ]; then
  cp "${debs[@]}" "$medium/Install/"
else
  echo "no package in build-package/ (scripts/package.sh builds it): Install/ holds only setup.exe"
fi
cat > "$medium/Install/setup.exe" <<'SH'
#!/bin/sh
# Gatefold's "Software Install" starts this: the package beside it, in the desktop's installer.
cd "$(dirname "$0")" || exit 1
for deb in dorvel_*.deb; do
  [ -e "$deb" ] && exec xdg-open "$PWD/$deb"
done
echo "No Dorvel package on this medium." >&2
exit 1
SH
chmod +x "$medium/Install/setup.exe"
echo "medium laid out in $medium:"
(cd "$medium" && find . -type f | sort)
