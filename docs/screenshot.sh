#!/bin/bash
# Retakes the README's pictures under a virtual X server:
#   docs/main-window.png   the main window after making the art of a small photo;
#   docs/preview.png       "View Your Selected Picture" on a real photo;
#   docs/preview-lens.png  the overview's marker dragged to the ladybird, and the lens, at
#                          "Medium", over it.
# The real photo is LadyBird.jpg from Debian's mate-backgrounds, kept in the benchmark's cache.
# Needs xvfb, xdotool and ImageMagick. Usage: docs/screenshot.sh <build folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)

if [ -z "${DISPLAY_READY:-}" ]; then
    DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 960x640x24" "$0" "$build"
fi

cache=$here/../.cache/bench
die() { echo "$0: $*" >&2; exit 2; }
. "$here/../bench/photos.sh"
ladybird=$(fetch_photo LadyBird.jpg)

# A short, stable folder, since its name shows in the picture.
scratch=/tmp/glyphsmith-demo
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
mkdir -p "$scratch/Pictures" "$HOME"
picture=$scratch/Pictures/harbour.jpg
cp "$here/../tests/data/good/photo.jpg" "$picture"

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
top=$((Y + HEIGHT - 493)) # the client area sits below the menu bar
click() { xdotool mousemove $((X + $1)) $((top + $2)) click 1; sleep 0.7; }
choose() {
    click 520 64 # the picture's Browse button
    xdotool type --delay 20 "$1"
    xdotool key Return
    sleep 1
}

choose "$picture"
click 20 437 # leave the finished file unopened
click 280 396 # Make ASCII Picture
for _ in $(seq 100); do
    [ -s "${picture%.jpg}.txt" ] && break
    sleep 0.2
done
sleep 1
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$here/main-window.png"

cp "$ladybird" "$scratch/Pictures/ladybird.jpg"
choose "$scratch/Pictures/ladybird.jpg"
click 280 300 # View Your Selected Picture
preview=$(find_window '^Preview Picture$')
sleep 2
eval "$(xdotool getwindowgeometry --shell "$preview")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$here/preview.png"

# The control fills the window but for one pixel: its tools panel is at its right edge, its
# navigation strip along its bottom, the button group centred in the strip.
control_width=$((WIDTH - 1)) control_height=$((HEIGHT - 1))
tools_left=$((X + control_width - 74))
marker_x=$((tools_left + 1 + 8 + 1 + 9)) marker_y=$((Y + 1 + 1 + 8 + 1 + 9))
xdotool mousemove $marker_x $marker_y mousedown 1
sleep 0.3
for step in 1 2 3 4; do
    xdotool mousemove $((marker_x + 29 * step / 4)) $((marker_y + 11 * step / 4))
    sleep 0.2
done
xdotool mouseup 1
sleep 0.3
xdotool mousemove $((X + 40)) $((Y + 40)) # over the picture: the marker is no longer tracked
sleep 0.5
xdotool mousemove $((tools_left + 1 + 3 + 30)) $((Y + 2 + 106 + 10)) click 1 # the lens size box
xdotool key ctrl+a
xdotool type --delay 20 Medium
sleep 0.5
group_left=$((X + (control_width - 78) / 2 - 92))
xdotool mousemove $((group_left + 2 + 18 * 9 + 8)) $((Y + control_height - 22 + 2 + 8)) click 1 # the lens
sleep 1
xdotool mousemove $((X + 40)) $((Y + 40))
sleep 0.5
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$here/preview-lens.png"
