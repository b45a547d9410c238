#!/bin/bash
# Retakes docs/main-window.png: starts the program under a virtual X server, chooses a picture
# with the Browse button, makes the art and photographs the window.
# Needs xvfb, xdotool and ImageMagick. Usage: docs/screenshot.sh <build folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)

if [ -z "${DISPLAY_READY:-}" ]; then
    DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$build"
fi

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
for _ in $(seq 50); do
    window=$(xdotool search --name '^Glyphsmith$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
done
eval "$(xdotool getwindowgeometry --shell "$window")"
top=$((Y + HEIGHT - 493)) # the client area sits below the menu bar
click() { xdotool mousemove $((X + $1)) $((top + $2)) click 1; sleep 0.7; }

click 520 64 # the picture's Browse button
xdotool type --delay 20 "$picture"
xdotool key Return
sleep 1
click 20 437 # leave the finished file unopened
click 280 396 # Make ASCII Picture
for _ in $(seq 100); do
    [ -s "${picture%.jpg}.txt" ] && break
    sleep 0.2
done
sleep 1
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$here/main-window.png"
