#!/bin/bash
# Retakes docs/photo-and-art.png: a photo beside its character art, drawn by the converter itself
# with --render. The photo is YellowFlower.jpg from Debian's mate-backgrounds, kept in the
# benchmark's cache. Needs ImageMagick. Usage: docs/render-example.sh <build folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)
cache=$here/../.cache/bench
flower=$(find "$cache/extracted" -name YellowFlower.jpg -print -quit 2>/dev/null || true)
if [ -z "$flower" ]; then
    mkdir -p "$cache"
    (cd "$cache" && apt-get download mate-backgrounds >/dev/null)
    dpkg-deb -x "$(ls "$cache"/mate-backgrounds_*.deb | head -n 1)" "$cache/extracted"
    flower=$(find "$cache/extracted" -name YellowFlower.jpg -print -quit)
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A quarter of the photo, 640 x 400, in cells of 5 x 8 pixels (detail 6), with the first ramp.
ramp=$(sed -n 1p "$build/bin/Formats.TXT" | tr -d '\r')
"$build/bin/glyphsmith-cli" --quiet --size 0.25 --detail 6 --ramp "$ramp" --render "$scratch/art.png" \
    "$flower" "$scratch/art.txt"
convert "$flower" -resize 640x400 "$scratch/photo.png"
convert "$scratch/photo.png" "$scratch/art.png" -background white -gravity north +append "$here/photo-and-art.png"
