#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz in build-fuzz (clang, ASan and UBSan) and runs each
# for SECONDS (default 60), two at a time; fails on any crash, leak, sanitizer report, timeout or
# memory limit, naming the input that caused it. Without clang it says so and does nothing.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(conversion completeness jpeg_rows art_file ramp_file)
if ! command -v clang++ >/dev/null; then
    echo "fuzz: skipped, no clang++ (scripts/install-deps.sh installs it)"
    exit 0
fi

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHSMITH_WERROR=ON \
    -DGLYPHSMITH_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz glyphsmith-cli

# The art reader is seeded with the converter's art, in every kind, of the good test pictures.
art_seeds=$build/seeds/art_file
mkdir -p "$art_seeds"
for picture in tests/data/good/photo.jpg tests/data/good/photo.png tests/data/good/icon.ico; do
    name=$(basename "$picture")
    for format in txt rtf html page; do
        QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/bin/glyphsmith-cli" --quiet --ramp ' .:-=+*#%@' \
            --detail 6 --format "$format" "$picture" "$art_seeds/$name-$format"
    done
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/bin/glyphsmith-cli" --quiet --ramp ' ·░▒▓█' \
        --encoding utf-8 "$picture" "$art_seeds/$name-utf-8.txt"
done

# Leaks are looked for after every input that allocates more than it frees; fontconfig keeps a
# cache of a few hundred bytes that it never frees, the only leak suppressed. Qt's JPEG reader
# warns of every damaged file it reads, which would fill the logs.
export LSAN_OPTIONS=suppressions=$PWD/tests/fuzz/leaks.supp UBSAN_OPTIONS=print_stacktrace=1
export QT_LOGGING_RULES='qt.gui.imageio.jpeg=false' QT_QPA_PLATFORM=offscreen
# The targets give the engine a budget of 64 MiB; an allocation of 512 MiB is a fault already.
# A fixed seed gives the same commit the same runs, so that CI's answer does not vary by chance;
# FUZZ_SEED=0 lets libFuzzer pick one, for longer runs that should wander.
flags=(-seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=65536 -print_final_stats=1)

run_target() {
    local target=$1 folders
    folders=$(grep -v '^#' "tests/fuzz/$target.seeds" | tr '\n' ' ' || true)
    [ "$target" != art_file ] || folders=$art_seeds
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    # New inputs go to the first folder, the corpus kept between runs; the seed folders are only read.
    "$build/fuzz/fuzz_$target" "${flags[@]}" -artifact_prefix="$build/artifacts/$target/" "$build/corpus/$target" $folders \
        >"$build/logs/$target.log" 2>&1
}

mkdir -p "$build/logs"
failed=()
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    pids=()
    for target in "${targets[@]:i:2}"; do
        run_target "$target" &
        pids+=("$!:$target")
    done
    for entry in "${pids[@]}"; do
        target=${entry#*:}
        if wait "${entry%%:*}"; then
            echo "fuzz_$target: $(grep -aE '^#[0-9]+[[:space:]]+DONE' "$build/logs/$target.log" | tail -n 1)"
        else
            failed+=("$target")
            echo "fuzz_$target FAILED; its log is $build/logs/$target.log, the input in $build/artifacts/$target/:"
            grep -av '^qt\.' "$build/logs/$target.log" | tail -n 40 || true
        fi
    done
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]}"; exit 1; }
echo "fuzz: ${#targets[@]} target(s) ran ${seconds} s each without a fault"
