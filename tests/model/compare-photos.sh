#!/bin/bash
# Runs the agreement test on real photographs instead of tests/data/good: every picture of Debian's mate-backgrounds
# (a 5640 x 3172 JPEG among them) and a few of them turned into BMP, GIF, PNG with alpha, ICO and CUR.
# Prints the failures and a closing count; exits 0 only when none failed.
#
#   tests/model/compare-photos.sh [BUILD_DIR] [CACHE_DIR]
set -u
build=$(cd "${1:-$(dirname "$0")/../../build}" && pwd) || exit 2
cache=${2:-${XDG_CACHE_HOME:-$HOME/.cache}/glyphsmith-photos}
mkdir -p "$cache/pictures" && cd "$cache" || exit 2
ls mate-backgrounds_*.deb >/dev/null 2>&1 || apt-get download mate-backgrounds >/dev/null || exit 2
[ -d extracted ] || dpkg-deb -x mate-backgrounds_*.deb extracted || exit 2
mate=$cache/extracted/usr/share/backgrounds/mate
find "$mate" \( -name '*.jpg' -o -name '*.png' \) -exec cp -n {} pictures/ \;

cd pictures || exit 2
[ -f elephants.bmp ] || convert "$mate/abstract/Elephants.jpg" elephants.bmp
[ -f elephants.gif ] || convert "$mate/abstract/Elephants.jpg" -resize 50% elephants.gif
[ -f elephants-alpha.png ] || convert "$mate/abstract/Elephants.jpg" \( -size 1920x1080 gradient:white-black \) \
    -alpha off -compose CopyOpacity -composite elephants-alpha.png
# Icons hold at most 256 pixels a side; this one holds three sizes. A cursor differs only in the header's type field.
[ -f dune.ico ] || convert "$mate/nature/Dune.jpg" -resize 256x256 -define icon:auto-resize=256,64,32 dune.ico
[ -f dune.cur ] || { convert "$mate/nature/Dune.jpg" -resize 96x96 ico:dune.cur &&
    printf '\x02' | dd of=dune.cur bs=1 seek=2 conv=notrunc status=none; }

GLYPHSMITH_MODEL_PICTURES=$cache/pictures "$build/tests/tst_modelagreement" -silent >"$cache/log" 2>&1
grep -E '^(FAIL|   )' "$cache/log"
sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed.*/\1 passed, \2 failed/p' "$cache/log"
grep -q '^Totals: [0-9]* passed, 0 failed' "$cache/log"
