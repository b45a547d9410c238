#!/usr/bin/env bash
# Times glyphsmith-cli on a large progressive JPEG photo against decoding the photo alone with
# djpeg and against two other picture-to-text converters, and checks the targets:
#   glyphsmith-cli's median wall time at most 1.10 x djpeg's at --size 1, and peak memory at
#   most 170 MiB at --size 1 and at --size 3.
# Usage: bench/compare-decoders.sh [path/to/glyphsmith-cli]
# Environment: ROUNDS (default 7), GLYPHSMITH_BENCH_CACHE (where the photo is kept),
#              GLYPHSMITH_BENCH_BUILD (the Release build made when no binary is given).
# Exit status: 0 targets met, 1 targets missed, 2 the benchmark itself could not run.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rounds=${ROUNDS:-7}
cache=${GLYPHSMITH_BENCH_CACHE:-$repo/.cache/bench}
photo_name=Elephants_5640x3172.jpg
detail=10
max_ratio=1.10
max_mib=170

die() { echo "compare-decoders: $*" >&2; exit 2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_tools() {
    local missing=() pair
    for pair in djpeg:libjpeg-turbo-progs jp2a:jp2a img2txt:caca-utils /usr/bin/time:time cmake:cmake; do
        command -v "${pair%%:*}" >/dev/null 2>&1 || missing+=("${pair#*:}")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}" >&2
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

build_cli() {
    local dir=${GLYPHSMITH_BENCH_BUILD:-$repo/build-bench}
    "$repo/scripts/install-deps.sh" >&2
    cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$dir" --target glyphsmith-cli -j "$(nproc)" >&2
    echo "$dir/bin/glyphsmith-cli"
}

# Prints the path of the photo, fetching Debian's package once into the cache.
fetch_photo() {
    local found
    mkdir -p "$cache"
    found=$(find "$cache/extracted" -name "$photo_name" -print -quit 2>/dev/null || true)
    if [ -z "$found" ]; then
        if ! ls "$cache"/mate-backgrounds_*.deb >/dev/null 2>&1; then
            (cd "$cache" && apt-get download mate-backgrounds >&2) || die "apt-get download mate-backgrounds failed"
        fi
        rm -rf "$cache/extracted"
        dpkg-deb -x "$(ls "$cache"/mate-backgrounds_*.deb | head -n 1)" "$cache/extracted"
        found=$(find "$cache/extracted" -name "$photo_name" -print -quit)
    fi
    [ -n "$found" ] || die "$photo_name is not in the mate-backgrounds package"
    echo "$found"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs command number $1 once, appending "<milliseconds> <peak KiB>" to its results file.
run_once() {
    local -n argv="command$1"
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "${argv[@]}" >/dev/null || die "failed: ${argv[*]}"
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000000 )) $(tail -n 1 "$work/rss")" >>"$work/result.$1"
}

cli=${1:-}
install_tools
[ -n "$cli" ] || cli=$(build_cli)
[ -x "$cli" ] || die "no glyphsmith-cli at $cli"
photo=$(fetch_photo)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Our art has one character per cell of round(round(detail x 96 / 72) x 1229 / 2048) x
# round(detail x 96 / 72) pixels, 8 x 13 at detail 10; the other converters draw the same grid.
[[ $photo_name =~ _([0-9]+)x([0-9]+)\. ]]
photo_width=${BASH_REMATCH[1]}
photo_height=${BASH_REMATCH[2]}
columns=$(( photo_width / 8 ))
rows=$(( photo_height / 13 ))

names=("glyphsmith-cli --size 1" "glyphsmith-cli --size 3" "djpeg" "jp2a" "img2txt")
command0=("$cli" --quiet --detail "$detail" --size 1 "$photo" "$work/size1.txt")
command1=("$cli" --quiet --detail "$detail" --size 3 "$photo" "$work/size3.txt")
command2=(djpeg -outfile /dev/null "$photo")
command3=(jp2a "--size=${columns}x${rows}" "$photo")
command4=(img2txt -W "$columns" -H "$rows" "$photo")
count=${#names[@]}

echo "Photo: $photo ($photo_width x $photo_height)"
echo "glyphsmith-cli: $cli"
echo "Machine: $(nproc) cores, $(grep -m 1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Rounds: $rounds after one warm-up round; each round runs every command once, in rotating order"
echo

for ((i = 0; i < count; i++)); do run_once "$i"; done
for ((i = 0; i < count; i++)); do : >"$work/result.$i"; done
for ((r = 0; r < rounds; r++)); do
    for ((k = 0; k < count; k++)); do run_once $(( (r + k) % count )); done
done

art_columns=$(awk '{ sub(/\r$/, "") } length($0) > max { max = length($0) } END { print max }' "$work/size1.txt")
printf '%-26s %10s %10s %10s %12s\n' command "median ms" "min ms" "max ms" "peak MiB"
declare -a wall mib
for ((i = 0; i < count; i++)); do
    wall[i]=$(cut -d' ' -f1 "$work/result.$i" | median)
    mib[i]=$(cut -d' ' -f2 "$work/result.$i" | median | awk '{ printf "%.1f", $1 / 1024 }')
    printf '%-26s %10s %10s %10s %12s\n' "${names[i]}" "${wall[i]}" \
        "$(cut -d' ' -f1 "$work/result.$i" | sort -n | head -n 1)" \
        "$(cut -d' ' -f1 "$work/result.$i" | sort -n | tail -n 1)" "${mib[i]}"
done
echo
echo "Art at --size 1: $art_columns columns (expected $columns); jp2a and img2txt drew ${columns} x ${rows}"

met=1
for i in 0 1; do
    ratio=$(awk -v a="${wall[i]}" -v b="${wall[2]}" 'BEGIN { printf "%.2f", a / b }')
    time_ok=$(awk -v r="$ratio" -v m="$max_ratio" 'BEGIN { print (r <= m) ? "yes" : "no" }')
    memory_ok=$(awk -v v="${mib[i]}" -v m="$max_mib" 'BEGIN { print (v <= m) ? "yes" : "no" }')
    # The time target is for the plain conversion; enlarging has only the memory bound.
    if [ "$i" -eq 0 ]; then
        echo "${names[i]}: ${ratio} x djpeg's time (target <= $max_ratio: $time_ok), ${mib[i]} MiB (target <= $max_mib: $memory_ok)"
    else
        time_ok=yes
        echo "${names[i]}: ${ratio} x djpeg's time (no target), ${mib[i]} MiB (target <= $max_mib: $memory_ok)"
    fi
    [ "$time_ok" = yes ] && [ "$memory_ok" = yes ] || met=0
done
if [ "$met" -eq 1 ]; then echo "Targets met"; else echo "Targets NOT met"; exit 1; fi
