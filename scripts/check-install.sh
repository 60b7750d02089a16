#!/usr/bin/env bash
# Installs the build/ tree into a staging folder and checks what a user's system would get:
# the programs, the manuals, the desktop entry, the metainfo, the icon and the manual
# pages; then packs the same build as a Debian package and has lintian look at it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh desktop-file-utils appstream lintian dpkg-dev file man-db
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --build build --target all >/dev/null
DESTDIR="$stage" cmake --install build --prefix /usr >/dev/null
root="$stage/usr"
fail=0
need() { [ -e "$root/$1" ] || { echo "missing: /usr/$1"; fail=1; }; }
need bin/dorvel
need bin/dorvel-meter-sim
need bin/dorvel-cli
need share/applications/org.dorvel.Dorvel.desktop
need share/metainfo/org.dorvel.Dorvel.metainfo.xml
need share/icons/hicolor/scalable/apps/org.dorvel.Dorvel.svg
need share/man/man1/dorvel.1.gz
need share/man/man1/dorvel-meter-sim.1.gz
need share/man/man1/dorvel-cli.1.gz
need share/bash-completion/completions/dorvel-cli
need share/doc/dorvel/copyright
for code in EN FR DE IT BPT ES CN; do need "share/dorvel/help/Dorvel-SW-HELP-${code}_V1.1.pdf"; done
[ ! -e "$root/bin/gatefold" ] || { echo "gatefold belongs on the medium, not in /usr/bin"; fail=1; }
desktop-file-validate "$root/share/applications/org.dorvel.Dorvel.desktop"
appstreamcli validate --no-net "$root/share/metainfo/org.dorvel.Dorvel.metainfo.xml" 2>/dev/null
for page in dorvel dorvel-meter-sim dorvel-cli; do
  # man's own check: the page renders without a warning.
  out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$out" ] || { echo "$page.1: $out"; fail=1; }
done
QT_QPA_PLATFORM=offscreen "$root/bin/dorvel" --version
"$root/bin/dorvel-meter-sim" --version
# The command line runs without any display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/dorvel-cli" --version
bash -n "$root/share/bash-completion/completions/dorvel-cli"
# No Qt Widgets or Qt Gui behind it.
if ldd "$root/bin/dorvel-cli" | grep -Ei "libQt6(Gui|Widgets)"; then echo "dorvel-cli links a window library"; fail=1; fi
[ "$fail" = 0 ] || exit 1
echo "installed tree: ok"

# The package of this very build (scripts/package.sh makes a Release one for users).
(cd build && cpack -G DEB -B "$stage/package" >/dev/null)
deb=$(ls "$stage"/package/dorvel_*.deb)
dpkg-deb -I "$deb" | sed -n '/Architecture:/,$p'
# lintian's errors fail the check; its warnings are shown.
lintian --fail-on error "$deb"
echo "package: ok"
