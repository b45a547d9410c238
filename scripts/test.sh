#!/usr/bin/env bash
# Builds Glyphsmith twice (release with warnings as errors, then ASan+UBSan) and runs every test
# in both builds; the release build is also packaged for Debian and the package checked with
# lintian. GUI tests run without a display. Last, the fuzz targets run for a minute each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Every planted fault must still apply to the code as committed, or a move would orphan it unseen.
python3 tests/fault-seeding/seed-faults.py --list | tail -n 1

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHSMITH_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build
scripts/package.sh build
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DGLYPHSMITH_SANITIZE=ON
scripts/fuzz.sh 60
