#!/usr/bin/env bash
# Scores how much the art of glyphsmith-cli and of jp2a looks like each test photo, on the same
# grid of 160 columns at detail 10, and prints a table: photo, converter and mapping, tone,
# detail, contrast (bench/README.md says what they are).
# Usage: bench/art-likeness.sh [NAME=OPTIONS ...]
#        bench/art-likeness.sh --check
# Each NAME=OPTIONS adds a row per photo for glyphsmith-cli run with those extra options, say
# 'ink=--tone ink'; the row "bands" (no extra options) always comes first. --check runs the
# score's own checks on every photo instead, the next photo being the other one.
# Environment: GLYPHSMITH_BENCH_CACHE (where the packages and photos are kept),
#              GLYPHSMITH_BENCH_BUILD (the Release build made for glyphsmith-cli and art_likeness),
#              JOBS (build jobs, default 2).
# Exit status: 0 scored (or every check held), 1 a check failed, 2 it could not run.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${GLYPHSMITH_BENCH_CACHE:-$repo/.cache/bench}
build=${GLYPHSMITH_BENCH_BUILD:-$repo/build-bench}
columns=160
detail=10

die() { echo "art-likeness: $*" >&2; exit 2; }
# shellcheck source=photos.sh
. "$repo/bench/photos.sh"

# Kind, Debian package and file: a face, a low-contrast animal, a scene, a grey photo, a still life.
photos=(
    "face|python-matplotlib-data|usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg"
    "low-contrast animal|python3-skimage|usr/lib/python3/dist-packages/skimage/data/chelsea.png"
    "scene|lomiri-wallpapers-16.04|usr/share/backgrounds/picosdeeuropa_by_Aitzol_Berasategi.jpg"
    "grey|python3-skimage|usr/lib/python3/dist-packages/skimage/data/camera.png"
    "still life|python3-skimage|usr/lib/python3/dist-packages/skimage/data/coffee.png"
)

checking=0
mappings=("bands=")
for argument in "$@"; do
    case $argument in
        --check) checking=1 ;;
        ?*=*) mappings+=("$argument") ;;
        *) die "not NAME=OPTIONS: $argument" ;;
    esac
done

install_missing jp2a:jp2a cmake:cmake dpkg-deb:dpkg iconv:libc-bin
"$repo/scripts/install-deps.sh" >&2
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
nice cmake --build "$build" --target glyphsmith-cli art_likeness -j "${JOBS:-2}" >&2
cli=$build/bin/glyphsmith-cli
score=$build/bin/art_likeness
# The shipped first ramp, given outright so that no other Formats.TXT is picked up.
ramp=$(head -n 1 "$repo/resources/Formats.TXT" | tr -d '\r' | iconv -f WINDOWS-1252 -t UTF-8)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
paths=()
for entry in "${photos[@]}"; do
    IFS='|' read -r _ package file <<<"$entry"
    paths+=("$(fetch_package_file "$package" "$file")")
done

# Scores art $2 of photo $1; $3 and on are art_likeness's options.
score_art() {
    local photo=$1 art=$2
    shift 2
    "$score" --columns "$columns" --detail "$detail" "$@" "$photo" "$art" >"$work/score" || die "could not score $art"
}
# The rows of the art last scored.
art_rows() { awk '$1 == "grid:" { print $4 }' "$work/score"; }
# The table rows of the art last scored, photo $1, kind $2, converter $3: one per channel compared,
# the channel named unless it is grey.
table_rows() {
    awk -v photo="$1" -v kind="$2" -v converter="$3" '$1 != "grid:" {
        channel = substr($1, 1, length($1) - 1)
        printf "| %s | %s | %s%s | %s | %s | %s |\n", photo, kind, converter, channel == "grey" ? "" : ", " channel, $3, $5, $7
    }' "$work/score"
}

if [ "$checking" -eq 1 ]; then
    held=0
    for i in "${!paths[@]}"; do
        photo=${paths[i]}
        other=${paths[(i + 1) % ${#paths[@]}]}
        "$cli" --quiet --columns "$columns" --detail "$detail" --ramp "$ramp" "$photo" "$work/art.txt"
        echo "$(basename "$photo"), the other photo $(basename "$other"):"
        "$score" --check --columns "$columns" --detail "$detail" "$photo" "$work/art.txt" "$other" || held=1
        echo
    done
    exit "$held"
fi

echo "| photo | kind | converter, mapping | tone | detail | contrast |"
echo "|---|---|---|---|---|---|"
for i in "${!paths[@]}"; do
    photo=${paths[i]}
    IFS='|' read -r kind _ <<<"${photos[i]}"
    name=$(basename "$photo")
    rows=
    for mapping in "${mappings[@]}"; do
        label=${mapping%%=*}
        read -r -a options <<<"${mapping#*=}"
        # Art in colour is written as a page, a plain text file having no colour.
        art=$work/art.txt
        case " ${options[*]} " in *" --colour "*) art=$work/art.html; options+=(--format page) ;; esac
        "$cli" --quiet --columns "$columns" --detail "$detail" --ramp "$ramp" "${options[@]}" "$photo" "$art" \
            || die "glyphsmith-cli ${options[*]} failed on $name"
        score_art "$photo" "$art"
        rows=$(art_rows)
        table_rows "$name" "$kind" "glyphsmith-cli, $label"
    done
    # jp2a fits the whole picture it is given to the size it is given, and our cells leave out the
    # pixels past the last whole cell; so it converts the part our cells read, into as many rows
    # as our art has: its characters then have our cells' shape, and it needs no aspect given.
    "$score" --cut "$work/cut.png" --columns "$columns" --detail "$detail" "$photo" >/dev/null || die "could not cut $name"
    jp2a --background=light --size="${columns}x$rows" "$work/cut.png" >"$work/jp2a.txt" || die "jp2a failed on $name"
    score_art "$photo" "$work/jp2a.txt" --plain-text
    table_rows "$name" "$kind" jp2a
done
