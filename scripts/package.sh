#!/usr/bin/env bash
# Builds the Debian package of the trainer: a Release build installed under /usr (so that the
# menu entry's folder is where the sample lessons go), packed by CPack.
#
#   scripts/package.sh [build-folder]     default build/package
#
# Prints the path of the .deb on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath -m "${1:-$root/build/package}")

bash scripts/setup.sh >&2

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVERBARO_TESTS=OFF -DVERBARO_SANITIZE=OFF >&2
cmake --build "$build" -j "$(nproc)" --target verbaro verbaro-lesson >&2
rm -f "$build"/verbaro_*.deb
(cd "$build" && cpack -G DEB >&2)
deb=$(ls "$build"/verbaro_*.deb)
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Recommends\):/\1:/p' >&2
echo "$deb"
