#!/usr/bin/env bash
# Times glyphsmith-cli on a large progressive JPEG photo against decoding the photo alone with
# djpeg and against two other picture-to-text converters, then on that photo, its baseline copy
# and its baseline copy doubled, each with output names of 1 to 32 characters (the name shifts
# where the program's buffers land), and checks the targets:
#   glyphsmith-cli's median wall time at most 1.10 x djpeg's at --size 1, and peak memory at
#   most 170 MiB at --size 1 and at --size 3;
#   with --tone ink, at most 1.10 x the median of the same run without it, within the same 170 MiB;
#   on each of the three photos, over every name length, the median of all runs at most 1.10 x
#   djpeg's median and the slowest name length (the median of its runs) at most 1.15 x.
# Usage: bench/compare-decoders.sh [path/to/glyphsmith-cli]
# Environment: ROUNDS (default 7), NAME_ROUNDS (runs per name length, default 3),
#              PARTS ("converters names" by default; either one alone to run only that part),
#              GLYPHSMITH_BENCH_CACHE (where the photos are kept),
#              GLYPHSMITH_BENCH_BUILD (the Release build made when no binary is given).
# Exit status: 0 targets met, 1 targets missed, 2 the benchmark itself could not run.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rounds=${ROUNDS:-7}
name_rounds=${NAME_ROUNDS:-3}
parts=${PARTS:-converters names}
longest_name=32
cache=${GLYPHSMITH_BENCH_CACHE:-$repo/.cache/bench}
photo_name=Elephants_5640x3172.jpg
detail=10
max_ratio=1.10
max_worst_ratio=1.15
max_mib=170

die() { echo "compare-decoders: $*" >&2; exit 2; }
# shellcheck source=photos.sh
. "$repo/bench/photos.sh"

install_tools() { install_missing djpeg:libjpeg-turbo-progs jp2a:jp2a img2txt:caca-utils /usr/bin/time:time cmake:cmake; }

build_cli() {
    local dir=${GLYPHSMITH_BENCH_BUILD:-$repo/build-bench}
    "$repo/scripts/install-deps.sh" >&2
    cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$dir" --target glyphsmith-cli -j "$(nproc)" >&2
    echo "$dir/bin/glyphsmith-cli"
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
photo=$(fetch_photo "$photo_name")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "glyphsmith-cli: $cli"
echo "Machine: $(nproc) cores, $(grep -m 1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'); load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

met=1

compare_converters() {
    # Our art has one character per cell of round(round(detail x 96 / 72) x 1229 / 2048) x
    # round(detail x 96 / 72) pixels, 8 x 13 at detail 10; the other converters draw the same grid.
    [[ $photo_name =~ _([0-9]+)x([0-9]+)\. ]]
    local photo_width=${BASH_REMATCH[1]} photo_height=${BASH_REMATCH[2]}
    local columns=$(( photo_width / 8 )) rows=$(( photo_height / 13 ))
    local i k r

    names=("glyphsmith-cli --size 1" "glyphsmith-cli --size 3" "djpeg" "jp2a" "img2txt" "glyphsmith-cli --tone ink")
    command0=("$cli" --quiet --detail "$detail" --size 1 "$photo" "$work/size1.txt")
    command1=("$cli" --quiet --detail "$detail" --size 3 "$photo" "$work/size3.txt")
    command2=(djpeg -outfile /dev/null "$photo")
    command3=(jp2a "--size=${columns}x${rows}" "$photo")
    command4=(img2txt -W "$columns" -H "$rows" "$photo")
    command5=("$cli" --quiet --detail "$detail" --size 1 --tone ink "$photo" "$work/ink.txt")
    local count=${#names[@]}

    echo "Photo: $photo ($photo_width x $photo_height)"
    echo "Rounds: $rounds after one warm-up round; each round runs every command once, in rotating order"
    echo

    for ((i = 0; i < count; i++)); do run_once "$i"; done
    for ((i = 0; i < count; i++)); do : >"$work/result.$i"; done
    for ((r = 0; r < rounds; r++)); do
        for ((k = 0; k < count; k++)); do run_once $(( (r + k) % count )); done
    done

    local art_columns
    art_columns=$(awk '{ sub(/\r$/, "") } length($0) > max { max = length($0) } END { print max }' "$work/size1.txt")
    printf '%-26s %10s %10s %10s %12s\n' command "median ms" "min ms" "max ms" "peak MiB"
    local -a wall mib
    for ((i = 0; i < count; i++)); do
        wall[i]=$(cut -d' ' -f1 "$work/result.$i" | median)
        mib[i]=$(cut -d' ' -f2 "$work/result.$i" | median | awk '{ printf "%.1f", $1 / 1024 }')
        printf '%-26s %10s %10s %10s %12s\n' "${names[i]}" "${wall[i]}" \
            "$(cut -d' ' -f1 "$work/result.$i" | sort -n | head -n 1)" \
            "$(cut -d' ' -f1 "$work/result.$i" | sort -n | tail -n 1)" "${mib[i]}"
    done
    echo
    echo "Art at --size 1: $art_columns columns (expected $columns); jp2a and img2txt drew ${columns} x ${rows}"

    local ratio time_ok memory_ok
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
    # The ink's own cost: the same conversion, the same rounds, with --tone ink.
    ratio=$(awk -v a="${wall[5]}" -v b="${wall[0]}" 'BEGIN { printf "%.2f", a / b }')
    time_ok=$(awk -v r="$ratio" -v m="$max_ratio" 'BEGIN { print (r <= m) ? "yes" : "no" }')
    memory_ok=$(awk -v v="${mib[5]}" -v m="$max_mib" 'BEGIN { print (v <= m) ? "yes" : "no" }')
    echo "${names[5]}: ${ratio} x the time without it (target <= $max_ratio: $time_ok), ${mib[5]} MiB (target <= $max_mib: $memory_ok)"
    [ "$time_ok" = yes ] && [ "$memory_ok" = yes ] || met=0
    echo
}

# The conversion at --size 1 with output names of 1 ... $longest_name characters, beside djpeg.
# Each round runs every name length once and djpeg after every fourth, so that both see the same
# disturbances. A name length's figure is the median of its runs: a layout that slows the
# conversion does so in every run, while a disturbance of the machine hits single runs.
sweep_names() {
    local label=$1 file=$2 length r t n
    local name=""
    command0=(); command1=(djpeg -outfile /dev/null "$file")
    : >"$work/result.1"
    for ((length = 1; length <= longest_name; length++)); do
        name+=a
        : >"$work/result.name$length"
        # A warm-up run per name length, not counted.
        "$cli" --quiet --detail "$detail" --size 1 "$file" "$work/names/$name" >/dev/null || die "failed on $file"
    done
    run_once 1
    : >"$work/result.1"
    for ((r = 0; r < name_rounds; r++)); do
        name=""
        for ((length = 1; length <= longest_name; length++)); do
            name+=a
            command0=("$cli" --quiet --detail "$detail" --size 1 "$file" "$work/names/$name")
            : >"$work/result.0"
            run_once 0
            cat "$work/result.0" >>"$work/result.name$length"
            if (( length % 4 == 0 )); then run_once 1; fi
        done
    done

    local floor all lengths worst worst_length slowest conversion_mib
    floor=$(cut -d' ' -f1 "$work/result.1" | median)
    all=$(for ((length = 1; length <= longest_name; length++)); do cut -d' ' -f1 "$work/result.name$length"; done)
    lengths=$(for ((length = 1; length <= longest_name; length++)); do
        echo "$(cut -d' ' -f1 "$work/result.name$length" | median) $length"
    done)
    read -r worst worst_length < <(sort -g -r <<<"$lengths" | head -n 1)
    slowest=$(sort -g -r <<<"$all" | head -n 1)
    n=$(median <<<"$all")
    conversion_mib=$(for ((length = 1; length <= longest_name; length++)); do cut -d' ' -f2 "$work/result.name$length"; done |
        sort -g | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }')

    local median_ratio worst_ratio median_ok worst_ok
    median_ratio=$(awk -v a="$n" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
    worst_ratio=$(awk -v a="$worst" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
    median_ok=$(awk -v r="$median_ratio" -v m="$max_ratio" 'BEGIN { print (r <= m) ? "yes" : "no" }')
    worst_ok=$(awk -v r="$worst_ratio" -v m="$max_worst_ratio" 'BEGIN { print (r <= m) ? "yes" : "no" }')
    printf '%-34s %8s %8s %8s %7s %9s %6s %9s %9s\n' "$label" "$floor" "$n" "$worst" "($worst_length)" "$slowest" \
        "$median_ratio" "$worst_ratio" "$conversion_mib"
    echo "$label, median ms by name length 1..$longest_name:" >>"$work/lengths"
    awk '{ printf "%s%s", (NR > 1 ? " " : "  "), $1 } END { print "" }' <<<"$lengths" >>"$work/lengths"
    [ "$median_ok" = yes ] && [ "$worst_ok" = yes ] || met=0
    [ "$median_ok" = yes ] || echo "  median: $median_ratio x djpeg, over the target of $max_ratio" >>"$work/missed"
    [ "$worst_ok" = yes ] || echo "  worst name length ($worst_length): $worst_ratio x djpeg, over the target of $max_worst_ratio" >>"$work/missed"
}

if [[ " $parts " == *" converters "* ]]; then compare_converters; fi

if [[ " $parts " == *" names "* ]]; then
    base_name=${photo_name%.jpg}
    small=$(make_baseline "$photo" 1/1 "${base_name}_baseline.jpg")
    [[ $photo_name =~ _([0-9]+)x([0-9]+)\. ]]
    big=$(make_baseline "$photo" 2/1 "Elephants_$(( BASH_REMATCH[1] * 2 ))x$(( BASH_REMATCH[2] * 2 ))_baseline.jpg")
    mkdir -p "$work/names"
    : >"$work/lengths"
    : >"$work/missed"
    echo "Output names of 1 to $longest_name characters, --size 1; $name_rounds runs of each name length after one"
    echo "warm-up run, djpeg after every fourth (ms; a name length's figure is the median of its runs)"
    echo
    printf '%-34s %8s %8s %8s %7s %9s %6s %9s %9s\n' photo "djpeg" median worst "(len)" "slowest" "median" "worst" "peak"
    printf '%-34s %8s %8s %8s %7s %9s %6s %9s %9s\n' "" "median" "" "length" "" "run" "ratio" "ratio" "MiB"
    sweep_names "5640 x 3172 progressive" "$photo"
    sweep_names "5640 x 3172 baseline (17.9 MP)" "$small"
    sweep_names "11280 x 6344 baseline (71.6 MP)" "$big"
    echo
    cat "$work/lengths"
    echo
    echo "Targets: median ratio <= $max_ratio, worst ratio <= $max_worst_ratio on each photo"
    cat "$work/missed"
fi

echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "$met" -eq 1 ]; then echo "Targets met"; else echo "Targets NOT met"; exit 1; fi
