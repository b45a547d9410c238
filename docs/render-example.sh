#!/bin/bash
# Retakes docs/photo-and-art.png: a photo beside its character art, drawn by the converter itself
# with --render. The photo is YellowFlower.jpg from Debian's mate-backgrounds, kept in the
# benchmark's cache. Needs ImageMagick. Usage: docs/render-example.sh <build folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)
cache=$here/../.cache/bench
die() { echo "$0: $*" >&2; exit 2; }
. "$here/../bench/photos.sh"
flower=$(fetch_photo YellowFlower.jpg)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A quarter of the photo, 640 x 400, in cells of 5 x 8 pixels (detail 6), with the first ramp.
ramp=$(sed -n 1p "$build/bin/Formats.TXT" | tr -d '\r')
"$build/bin/glyphsmith-cli" --quiet --size 0.25 --detail 6 --ramp "$ramp" --render "$scratch/art.png" \
    "$flower" "$scratch/art.txt"
convert "$flower" -resize 640x400 "$scratch/photo.png"
convert "$scratch/photo.png" "$scratch/art.png" -background white -gravity north +append "$here/photo-and-art.png"
