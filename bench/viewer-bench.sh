#!/usr/bin/env bash
# Times the preview window's picture viewer on two large photos under the offscreen platform,
# with a viewport of 1920 x 1080: opening the preview, every picture-size step from 50 % to
# 600 %, a repaint after scrolling at each step, and the peak memory. Checks the targets: every
# step and scroll repaint within 50 ms, and the peak grown by at most the decoded picture + 64 MiB.
# Photos: Elephants_5640x3172.jpg from Debian's mate-backgrounds package (progressive), and the
# same doubled to 11280 x 6344 and saved as a baseline JPEG (djpeg -scale 2/1 | cjpeg -quality 85).
# Usage: bench/viewer-bench.sh [path/to/bench_viewer]
# Environment: REPETITIONS (default 5), GLYPHSMITH_BENCH_CACHE (where the photos are kept),
#              GLYPHSMITH_BENCH_BUILD (the Release build made when no binary is given),
#              JOBS (parallel build jobs, default 2).
# Exit status: 0 targets met, 1 targets missed, 2 the benchmark itself could not run.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
repetitions=${REPETITIONS:-5}
cache=${GLYPHSMITH_BENCH_CACHE:-$repo/.cache/bench}
photo_name=Elephants_5640x3172.jpg
big_name=Elephants_11280x6344_baseline.jpg

die() { echo "viewer-bench: $*" >&2; exit 2; }
# shellcheck source=photos.sh
. "$repo/bench/photos.sh"

install_tools() { install_missing djpeg:libjpeg-turbo-progs cjpeg:libjpeg-turbo-progs cmake:cmake; }

build_bench() {
    local dir=${GLYPHSMITH_BENCH_BUILD:-$repo/build-bench}
    "$repo/scripts/install-deps.sh" >&2
    cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$dir" --target bench_viewer -j "${JOBS:-2}" >&2
    echo "$dir/bin/bench_viewer"
}

bench=${1:-}
install_tools
[ -n "$bench" ] || bench=$(build_bench)
[ -x "$bench" ] || die "no bench_viewer at $bench"
photo=$(fetch_photo "$photo_name")
big=$(make_baseline "$photo" 2/1 "$big_name")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "bench_viewer: $bench"
echo "Machine: $(nproc) cores, $(grep -m 1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'); load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# One process per photo: the peak resident size is the process's, so a photo run earlier would
# leave its own peak behind.
status=0
for p in "$photo" "$big"; do
    rc=0
    QT_QPA_PLATFORM=offscreen "$bench" "$p" "$repetitions" >"$work/out" 2>"$work/err" || rc=$?
    cat "$work/out"
    grep -v '^QStandardPaths\|propagateSizeHints\|does not support raise()' "$work/err" >&2 || true
    [ "$rc" -le 1 ] || die "bench_viewer failed on $p (exit status $rc)"
    [ "$rc" -eq 0 ] || status=1
    echo
    echo "----------------------------------------------------------------------------------------"
    echo
done
if [ "$status" -eq 0 ]; then echo "Targets met on both photos"; else echo "Targets NOT met"; fi
exit "$status"
