#!/usr/bin/env bash
# Builds Glyphsmith (installing any missing Debian packages) and starts its main window.
# Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target glyphsmith glyphsmith-cli
exec build/bin/glyphsmith "$@"
