#!/bin/bash
# Holds glyphsmith-cli against the reference model on real photographs: every JPEG of Debian's
# mate-backgrounds (the 5640 x 3172 one included), its PNG with transparency, and a few of the photos
# turned into BMP, GIF, PNG with alpha, ICO and CUR. Prints one row per conversion and a closing count.
#
#   tests/model/compare-photos.sh [BUILD_DIR] [CACHE_DIR]
#
# BUILD_DIR holds bin/glyphsmith-cli and bin/glyphsmith-reference (default: build-model beside this
# checkout's root); CACHE_DIR keeps the package and the converted pictures between runs.
set -u
export LC_ALL=C.UTF-8

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-model}" && pwd) || exit 2
cache=${2:-${XDG_CACHE_HOME:-$HOME/.cache}/glyphsmith-photos}
converter=$build/bin/glyphsmith-cli
reference=$build/bin/glyphsmith-reference
magick=$(command -v convert-im6.q16 || command -v convert)

for tool in "$converter" "$reference"; do
    [ -x "$tool" ] || { echo "missing $tool: build the project first" >&2; exit 2; }
done
[ -n "$magick" ] || { echo "ImageMagick's convert is needed" >&2; exit 2; }

mkdir -p "$cache/converted" "$cache/runs"
cd "$cache" || exit 2
if ! ls mate-backgrounds_*.deb >/dev/null 2>&1; then
    apt-get download mate-backgrounds >/dev/null || { echo "could not download mate-backgrounds" >&2; exit 2; }
fi
if [ ! -d extracted ]; then
    dpkg-deb -x mate-backgrounds_*.deb extracted || exit 2
fi
backgrounds=$cache/extracted/usr/share/backgrounds/mate

# Every format the converter reads, made once from the photographs and kept in the cache.
make_converted() {
    local out=$cache/converted
    local photo=$backgrounds/abstract/Elephants.jpg
    local small=$backgrounds/nature/Dune.jpg
    [ -f "$out/elephants.bmp" ] || "$magick" "$photo" "$out/elephants.bmp"
    [ -f "$out/elephants.gif" ] || "$magick" "$photo" -resize 50% "$out/elephants.gif"
    [ -f "$out/elephants-alpha.png" ] || "$magick" "$photo" \( -size 1920x1080 gradient:white-black \) \
        -alpha off -compose CopyOpacity -composite "$out/elephants-alpha.png"
    [ -f "$out/storm-24bit.bmp" ] || "$magick" "$backgrounds/nature/Storm.jpg" -resize 800x "$out/storm-24bit.bmp"
    # Icons hold at most 256 pixels a side; this one holds three sizes, of which the largest is converted.
    [ -f "$out/dune.ico" ] || "$magick" "$small" -resize 256x256 -define icon:auto-resize=256,64,32 "$out/dune.ico"
    if [ ! -f "$out/dune.cur" ]; then
        # ImageMagick writes an icon; a cursor differs only in the type field of the header.
        "$magick" "$small" -resize 96x96 "ico:$out/dune.cur" && printf '\x02' | dd of="$out/dune.cur" bs=1 seek=2 conv=notrunc status=none
    fi
}
make_converted

classic=$' .\'`^",:;Il!i><~+_-?][}{1)(|\\/tfjrxnuvczXYUJCLQ0OZmwqpdbkhao*#MW&8%B@$'
codepage=" ·°±²½€ƒ‰ŒŽ"$'\xc2\x81'"ÆØßÿ"
outside=" .░:▒😀o▓#█"

# size | detail | ramp name | output name | reminder
rows=(
    "1|10|default|art.txt|yes"
    "0.37|9|classic|art.rtf|yes"
    "1.5|13|codepage|art.htm|no"
    "-2|2|outside|art|no"
    "2|24|four|art.html|yes"
    "0.5|1|one|art.dat|no"
)

ramp_arguments() {
    case $1 in
    default) ;;
    classic) printf '%s\0%s\0' --ramp "$classic" ;;
    codepage) printf '%s\0%s\0' --ramp "$codepage" ;;
    outside) printf '%s\0%s\0' --ramp "$outside" ;;
    four) printf '%s\0%s\0' --ramp " .:#" ;;
    one) printf '%s\0%s\0' --ramp "#" ;;
    esac
}

passed=0
failed=0
printf '%-36s %-10s %5s %6s %-8s %-9s %-3s %7s %7s  %s\n' picture pixels size detail ramp output rem cli_s model_s result

compare() {
    local picture=$1 row=$2
    local size detail ramp output reminder
    IFS='|' read -r size detail ramp output reminder <<<"$row"
    local folder
    folder=$(mktemp -d "$cache/runs/run.XXXXXX")
    mkdir -p "$folder/cli" "$folder/model"
    local -a arguments=()
    while IFS= read -r -d '' argument; do arguments+=("$argument"); done < <(ramp_arguments "$ramp")
    arguments+=(--size "$size" --detail "$detail")
    [ "$reminder" = yes ] || arguments+=(--no-reminder)

    local start middle end cli_exit model_exit
    start=$(date +%s.%N)
    "$converter" --quiet "${arguments[@]}" "$picture" "$folder/cli/$output" 2>"$folder/cli.err"
    cli_exit=$?
    middle=$(date +%s.%N)
    "$reference" "${arguments[@]}" "$picture" "$folder/model/$output" 2>"$folder/model.err"
    model_exit=$?
    end=$(date +%s.%N)

    local result
    if [ "$model_exit" -gt 1 ]; then
        result="FAIL model exited $model_exit: $(head -c 200 "$folder/model.err")"
    elif [ "$cli_exit" != "$model_exit" ]; then
        result="FAIL converter exited $cli_exit, model $model_exit: $(head -c 200 "$folder/cli.err")"
    elif [ "$cli_exit" = 1 ]; then
        result="ok, both refuse"
    elif cmp -s "$folder/cli/$output" "$folder/model/$output"; then
        result="ok, $(stat -c %s "$folder/cli/$output") bytes equal"
    else
        result="FAIL $(cmp "$folder/model/$output" "$folder/cli/$output" 2>&1 | head -1)"
    fi
    case $result in
    ok*) passed=$((passed + 1)); rm -rf "$folder" ;;
    *) failed=$((failed + 1)) ;; # kept for a closer look
    esac
    printf '%-36s %-10s %5s %6s %-8s %-9s %-3s %7.2f %7.2f  %s\n' "$(basename "$picture")" \
        "$(identify -format '%wx%h' "${picture}[0]" 2>/dev/null)" "$size" "$detail" "$ramp" "$output" "$reminder" \
        "$(awk "BEGIN{print $middle - $start}")" "$(awk "BEGIN{print $end - $middle}")" "$result"
}

mapfile -t photos < <(find "$backgrounds" -name '*.jpg' | sort)
photos+=("$backgrounds/abstract/Arc-Colors-Transparent-Wallpaper.png")
mapfile -t converted < <(find "$cache/converted" -type f | sort)

# Each photograph gets three of the rows, in turn; the largest and the converted pictures get all of them.
index=0
for picture in "${photos[@]}" "${converted[@]}"; do
    case $picture in
    */Elephants_5640x3172.jpg | "$cache"/converted/*) picks=(0 1 2 3 4 5) ;;
    *) picks=($((index % 6)) $(((index + 2) % 6)) $(((index + 4) % 6))) ;;
    esac
    for pick in "${picks[@]}"; do
        compare "$picture" "${rows[$pick]}"
    done
    index=$((index + 1))
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
