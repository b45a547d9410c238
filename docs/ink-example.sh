#!/bin/bash
# Retakes docs/bands-and-ink.png under a virtual X server: the art of a low-contrast photo made in
# the main window twice, with the grey bands and then with Options, "Measured Ink Tones", each as
# View, "ASCII Picture Preview" shows it, side by side. The photo is chelsea.png (a tabby cat)
# from Debian's python3-skimage, kept in the benchmark's cache (GLYPHSMITH_BENCH_CACHE).
# Needs xvfb, xdotool and ImageMagick. Usage: docs/ink-example.sh <build folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)

if [ -z "${DISPLAY_READY:-}" ]; then
    DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 960x640x24" "$0" "$build"
fi

cache=${GLYPHSMITH_BENCH_CACHE:-$here/../.cache/bench}
die() { echo "$0: $*" >&2; exit 2; }
. "$here/../bench/photos.sh"
cat_photo=$(fetch_package_file python3-skimage usr/lib/python3/dist-packages/skimage/data/chelsea.png)

scratch=/tmp/glyphsmith-ink-demo
rm -rf "$scratch"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
mkdir -p "$scratch/Pictures" "$HOME"
picture=$scratch/Pictures/cat.png
art=$scratch/Pictures/cat.txt
cp "$cat_photo" "$picture"

"$build/bin/glyphsmith" 2>/dev/null &
program=$!
trap 'kill $program 2>/dev/null; rm -rf "$scratch"' EXIT
find_window() {
    local id
    for _ in $(seq 50); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.2
    done
}
window=$(find_window '^Glyphsmith$')
eval "$(xdotool getwindowgeometry --shell "$window")"
main_x=$X main_y=$Y
top=$((Y + HEIGHT - 493)) # the client area sits below the menu bar
menu_y=$(((Y + top) / 2))
click() { xdotool mousemove $((main_x + $1)) $((top + $2)) click 1; sleep 0.7; }
# Opens the menu whose title starts `left` pixels into the menu bar and takes its item `number`,
# counted from 1, by the keyboard: the items' heights depend on the style.
menu_item() {
    xdotool windowraise "$window"
    sleep 0.3
    xdotool mousemove $((main_x + $1)) $menu_y click 1
    sleep 0.5
    for _ in $(seq "$2"); do xdotool key Down; done
    xdotool key Return
    sleep 0.7
}
make_art() {
    rm -f "$art"
    click 280 396 # Make ASCII Picture
    for _ in $(seq 100); do
        [ -s "$art" ] && break
        sleep 0.2
    done
    sleep 1
}
# The art preview as it shows the art: its picture area, left of the tools, above the navigation bar.
shoot_art() {
    menu_item 10 1 # View, ASCII Picture Preview
    local preview
    preview=$(find_window '^Preview ASCII Picture$')
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$preview")"
    import -window root -crop "$((WIDTH - 76))x$((HEIGHT - 24))+${X}+${Y}" +repage "$1"
}

click 520 64 # the picture's Browse button
xdotool type --delay 20 "$picture"
xdotool key Return
sleep 1
click 20 437 # leave the finished file unopened
click 120 329 # the size box
xdotool key ctrl+a
xdotool type --delay 20 1.5
make_art
shoot_art "$scratch/bands.png"
menu_item 50 3 # Options, Measured Ink Tones
make_art
shoot_art "$scratch/ink.png"
# The photo, then the art alone, cut from the grey around it, with the bands and with the ink,
# each at half the size the preview shows it.
for kind in bands ink; do
    convert "$scratch/$kind.png" -shave 2x2 -trim +repage -resize 50% "$scratch/$kind-small.png"
done
height=$(identify -format '%h' "$scratch/bands-small.png")
convert "$picture" -resize "x$height" "$scratch/photo-small.png"
convert "$scratch/photo-small.png" "$scratch/bands-small.png" "$scratch/ink-small.png" -bordercolor white -border 4x0 \
    +append +repage -colorspace Gray -strip "$here/bands-and-ink.png"
