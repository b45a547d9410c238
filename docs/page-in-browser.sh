#!/bin/bash
# Retakes docs/page-in-browser.png and docs/colour-page-in-browser.png: the art of a photo
# written as a complete page (--format page), black and in colour (--colour truecolour), and
# shown by headless Chromium. The photo is YellowFlower.jpg from Debian's
# mate-backgrounds, kept in the benchmark's cache. Needs chromium and ImageMagick.
# Usage: docs/page-in-browser.sh <build folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)
cache=${GLYPHSMITH_BENCH_CACHE:-$here/../.cache/bench}
die() { echo "$0: $*" >&2; exit 2; }
. "$here/../bench/photos.sh"
flower=$(fetch_photo YellowFlower.jpg)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# 100 columns at detail 10: rows of 100 cells of 8 x 13 pixels, the page's body margin of 8 around.
"$build/bin/glyphsmith-cli" --quiet --format page --columns 100 "$flower" "$scratch/flower.html"
rows=$(($(tr -d '\r' < "$scratch/flower.html" | sed -n '/^<pre>$/,/^<\/pre>$/p' | wc -l) - 2))
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$scratch/profile" --hide-scrollbars \
    --window-size=$((100 * 8 + 16)),$((rows * 13 + 16)) --screenshot="$scratch/page.png" "file://$scratch/flower.html" 2>/dev/null
# Grey text on white needs few shades: a small picture.
convert "$scratch/page.png" -colors 16 "$here/page-in-browser.png"
# In colour: the photo, then its characters in colour, then the cells filled, each run of one
# colour in a span.
"$build/bin/glyphsmith-cli" --quiet --format page --colour truecolour --columns 100 "$flower" "$scratch/colour.html"
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$scratch/profile" --hide-scrollbars \
    --window-size=$((100 * 8 + 16)),$((rows * 13 + 16)) --screenshot="$scratch/colour.png" "file://$scratch/colour.html" 2>/dev/null
# And with filled cells.
"$build/bin/glyphsmith-cli" --quiet --format page --colour truecolour --colour-fill --columns 100 "$flower" "$scratch/filled.html"
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$scratch/profile" --hide-scrollbars \
    --window-size=$((100 * 8 + 16)),$((rows * 13 + 16)) --screenshot="$scratch/filled.png" "file://$scratch/filled.html" 2>/dev/null
convert "$flower" -resize "$((100 * 8 + 16))x$((rows * 13 + 16))!" "$scratch/photo.png"
convert "$scratch/photo.png" "$scratch/colour.png" "$scratch/filled.png" +append -resize 50% -quality 92 "$here/colour-page-in-browser.png"
