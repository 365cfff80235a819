#!/usr/bin/env bash
# Rebuilds the built-in artwork: builds the painter program in generator/, runs it into a
# temporary folder, and puts the pictures where the resource files and the sample Res_ folder
# expect them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
res="$(dirname "$here")"
root="$(dirname "$res")"
build="${TMPDIR:-/tmp}/verbaro-art-build"
out="${TMPDIR:-/tmp}/verbaro-art-out"

cmake -S "$here/generator" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" >/dev/null
rm -rf "$out"
"$build/verbaro-art" "$out"

mkdir -p "$here/backgrounds" "$here/logos" "$res/icon/toolbar" "$root/lessons/Res_"
cp "$out"/backgrounds/*.jpg "$here/backgrounds/"
cp "$out"/logos/*.png "$here/logos/"
cp "$out"/icon/*.png "$res/icon/"
cp "$out"/toolbar/*.png "$res/icon/toolbar/"
# The sample folder that users rename to Res to replace the pictures with their own (the 1x
# pictures: a file in Res is drawn at its own size).
cp "$here"/backgrounds/*.jpg "$here"/logos/*Logo.png "$root/lessons/Res_/"
echo "artwork written"
