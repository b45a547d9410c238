#!/usr/bin/env bash
# Times glyphsmith-cli converting a batch of 32 copies of a large photo into an output folder with
# --jobs equal to the processors against --jobs 1, once for the progressive photo and once for a
# baseline copy of it, and checks the targets:
#   a speed-up of at least 0.8 x the processors, and a batch's peak memory at most
#   jobs x the peak of a single run of the same photo (GNU time's %M).
# Usage: bench/batch-jobs.sh [path/to/glyphsmith-cli]
# Environment: COPIES (default 32), JOBS (default nproc), GLYPHSMITH_BENCH_CACHE (where the photo
#              is kept), GLYPHSMITH_BENCH_BUILD (the Release build made when no binary is given).
# Exit status: 0 targets met, 1 targets missed, 2 the benchmark itself could not run.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${GLYPHSMITH_BENCH_CACHE:-$repo/.cache/bench}
copies=${COPIES:-32}
jobs=${JOBS:-$(nproc)}
photo_name=Elephants_5640x3172.jpg

die() { echo "batch-jobs: $*" >&2; exit 2; }
# shellcheck source=photos.sh
. "$repo/bench/photos.sh"

install_missing djpeg:libjpeg-turbo-progs cjpeg:libjpeg-turbo-progs /usr/bin/time:time cmake:cmake

if [ $# -ge 1 ]; then
    cli=$1
else
    build=${GLYPHSMITH_BENCH_BUILD:-$repo/build-bench}
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" --target glyphsmith-cli -j "$(nproc)" >&2
    cli=$build/bin/glyphsmith-cli
fi
[ -x "$cli" ] || die "no converter at $cli"

photo=$(fetch_photo "$photo_name")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
djpeg "$photo" | cjpeg -quality 85 > "$work/baseline.jpg"
cp "$photo" "$work/progressive.jpg"

# Prints "seconds peak-KiB processor-seconds" of one command.
measure() {
    /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >/dev/null
    awk '{ print $1, $2, $3 + $4 }' "$work/time"
}

status=0
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) processors; $copies copies; --jobs $jobs against --jobs 1"
# Processor seconds tell a batch that did more work apart from one that got less of the processors.
printf '%-12s %9s %9s %8s %8s %9s %9s %10s %10s %10s\n' photo 'jobs1 s' "jobs$jobs s" speedup target 'jobs1 cpu' "jobs$jobs cpu" \
    'single MiB' "jobs$jobs MiB" 'limit MiB'
for kind in progressive baseline; do
    mkdir -p "$work/$kind"
    for i in $(seq -w 1 "$copies"); do cp "$work/$kind.jpg" "$work/$kind/$i.jpg"; done
    read -r _ single_kib < <(measure "$cli" --quiet "$work/$kind.jpg" "$work/single.txt")
    read -r serial_s _ serial_cpu < <(measure "$cli" --quiet --jobs 1 --output-dir "$work/out1" "$work/$kind"/*.jpg)
    read -r parallel_s parallel_kib parallel_cpu < <(measure "$cli" --quiet --jobs "$jobs" --output-dir "$work/outN" "$work/$kind"/*.jpg)
    diff -rq "$work/out1" "$work/outN" >/dev/null || die "the two batches wrote different art"
    row=$(awk -v s="$serial_s" -v p="$parallel_s" -v j="$jobs" -v one="$single_kib" -v many="$parallel_kib" \
              -v c1="$serial_cpu" -v cn="$parallel_cpu" 'BEGIN {
        speedup = s / p; limit = j * one / 1024
        ok = speedup >= 0.8 * j && many / 1024 <= limit
        printf "%9.2f %9.2f %8.2f %8.2f %9.2f %9.2f %10.0f %10.0f %10.0f %s", s, p, speedup, 0.8 * j, c1, cn, one / 1024, many / 1024, limit,
            ok ? "ok" : "MISSED"
    }')
    printf '%-12s %s\n' "$kind" "$row"
    [[ $row == *MISSED ]] && status=1
    rm -rf "$work/out1" "$work/outN" "$work/$kind"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
