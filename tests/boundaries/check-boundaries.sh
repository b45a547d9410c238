#!/usr/bin/env bash
# The folders' boundaries, checked on the sources: the engine never includes a widget header, the
# viewer includes nothing of ours outside viewer/ and links nothing of it only when another target
# happens to exist, and what an engine folder keeps in internal/ is included by the engine and its
# tests only. Usage: check-boundaries.sh SOURCE_ROOT QT_WIDGETS_INCLUDE_DIR
set -u
root=$1
widgets_dir=$2
cd "$root" || exit 2
failed=0
complain() { echo "$1"; shift; printf '  %s\n' "$@"; failed=1; }

sources() { git ls-files -- "$@" 2>/dev/null | grep -E '\.(cpp|h)$' || find "$@" -name '*.cpp' -o -name '*.h'; }
includes_in() { sources "$@" | xargs grep -Hn -E '^\s*#\s*include' ; }

# Every header QtWidgets installs, by the names a source would include it by.
widget_names=$(cd "$widgets_dir" && ls | sed -e 's/^/QtWidgets\//' ; ls "$widgets_dir")
hits=$(includes_in engine | while IFS= read -r line; do
    name=$(sed -E 's/.*#\s*include\s*[<"]([^>"]+)[>"].*/\1/' <<<"$line")
    grep -qxF "$name" <<<"$widget_names" && echo "$line"
done)
[ -z "$hits" ] || complain "engine/ includes widget headers:" "$hits"

hits=$(includes_in viewer | grep -E '#\s*include\s*("|<)(engine|app|cli|resources|tests|bench)/|#\s*include\s*"[^"]*"' | grep -v -E '#\s*include\s*"viewer/' | grep -v '\.moc"')
[ -z "$hits" ] || complain "viewer/ includes files outside viewer/:" "$hits"

hits=$(grep -n 'if(TARGET' viewer/CMakeLists.txt)
[ -z "$hits" ] || complain "viewer/CMakeLists.txt builds part of the viewer only when another target exists:" "$hits"

hits=$(includes_in app cli viewer bench | grep -E 'engine/.*internal/')
[ -z "$hits" ] || complain "engine internals included outside the engine and its tests:" "$hits"

exit $failed
