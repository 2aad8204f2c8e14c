#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, unpacks it into a
# scratch root, and runs the packaged tavctl from there: the package must hold
# working programs, a valid desktop entry, the icon, help and manual page.
set -euo pipefail
build=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/pkg" >/dev/null)
deb=$(ls "$scratch"/pkg/tavedit_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Depends | grep -q libqt6serialport6
dpkg -x "$deb" "$scratch/root"

root=$scratch/root
for f in usr/bin/tavedwin usr/bin/tavctl usr/share/applications/tavedwin.desktop \
         usr/share/icons/hicolor/scalable/apps/tavedwin.svg \
         usr/share/icons/hicolor/48x48/apps/tavedwin.png \
         usr/share/man/man1/tavctl.1 usr/share/doc/tavedit/tavhelp.html; do
  [ -e "$root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/tavedwin.desktop"
fi

"$root/usr/bin/tavctl" --version | grep -qx "tavctl [0-9.]*"
"$root/usr/bin/tavedwin" --version | grep -qx "tavedwin [0-9.]*"

# A radio file of the virtual radio's factory image, dumped by the packaged tool.
python3 - "$scratch/radio.tav" <<'PY'
import sys
image = bytearray(4127)
image[2 * 128 + 16:2 * 128 + 18] = bytes([0x55, 0x12])   # group 2 channel 1: 155.12000
open(sys.argv[1], "wb").write(bytes(image))
PY
out=$("$root/usr/bin/tavctl" dump "$scratch/radio.tav")
echo "$out" | grep -q "TAV Unit Data Printout    $scratch/radio.tav"
echo "$out" | grep -q "155.12000"
