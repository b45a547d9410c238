#!/usr/bin/env bash
# Installs the build into a scratch prefix with DESTDIR, checks what a desktop needs of it and the
# font alias, and runs the installed converter from another folder, where it must find the
# installed ramp list; then installs it under a fresh prefix, whose converter must find that
# prefix's list with no data folder of the user's or the system's holding one, and whose programs
# give their help and version without a display.
# Usage: check-install.sh BUILD_FOLDER PICTURE VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
picture=$(realpath "$2")
version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=/usr
root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix "$prefix" >/dev/null
share=$root$prefix/share
id=example.quorvane.Glyphsmith

failures=0
check() {
    if "$@"; then echo "ok: $*"; else echo "FAILED: $*"; failures=$((failures + 1)); fi
}
check test -x "$root$prefix/bin/glyphsmith"
check test -x "$root$prefix/bin/glyphsmith-cli"
check test -s "$share/glyphsmith/Formats.TXT"
for size in 16 32 48 64 128; do
    check test -s "$share/icons/hicolor/${size}x${size}/apps/$id.png"
done
check desktop-file-validate "$share/applications/$id.desktop"
check grep -qx 'Exec=glyphsmith %f' "$share/applications/$id.desktop"
check appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml"
for page in glyphsmith glyphsmith-cli; do
    check test -s "$share/man/man1/$page.1.gz"
    check bash -c "man -l '$share/man/man1/$page.1.gz' 2>&1 >/dev/null | grep -q . && exit 1; man -l '$share/man/man1/$page.1.gz' | grep -q NAME"
done

# The font alias: fontconfig, reading the installed file after the system's own configuration
# (as the package's link in /etc/fonts/conf.d has it read), gives Lucida Console a face of its advance.
alias=$share/fontconfig/conf.avail/30-glyphsmith-lucida-console.conf
check test -s "$alias"
printf '<fontconfig><include>/etc/fonts/fonts.conf</include><include>%s</include></fontconfig>\n' "$alias" \
    > "$scratch/fonts.conf"
check bash -c "FONTCONFIG_FILE='$scratch/fonts.conf' fc-match -f '%{family}' 'Lucida Console' | grep -qx 'Liberation Mono\|DejaVu Sans Mono'"

# No ramp list beside the installed converter, none of the user's: the installed one is used.
mkdir -p "$scratch/elsewhere" "$scratch/home"
cd "$scratch/elsewhere"
check env XDG_DATA_HOME="$scratch/home" XDG_DATA_DIRS="$share" "$root$prefix/bin/glyphsmith-cli" --quiet --no-reminder \
    "$picture" art.txt
first_ramp=$(head -n 1 "$share/glyphsmith/Formats.TXT" | tr -d '\r')
"$build/bin/glyphsmith-cli" --quiet --no-reminder --ramp "$first_ramp" "$picture" expected.txt
check cmp art.txt expected.txt

fresh=$scratch/fresh-prefix
cmake --install "$build" --prefix "$fresh" >/dev/null
mkdir -p "$scratch/nowhere"
check env HOME="$scratch/nowhere" XDG_DATA_HOME="$scratch/nowhere/data" XDG_DATA_DIRS="$scratch/nowhere/dirs" \
    "$fresh/bin/glyphsmith-cli" --quiet --no-reminder "$picture" fresh.txt
check cmp fresh.txt expected.txt

# PROGRAM OPTION LINE: the option exits 0 without a display, having printed LINE among its lines.
prints() {
    local out
    out=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$1" "$2" 2>&1) && grep -qxF -- "$3" <<<"$out"
}
for program in glyphsmith glyphsmith-cli; do
    check prints "$fresh/bin/$program" --help "Turns a picture into character art."
done
check prints "$fresh/bin/glyphsmith" --version "Glyphsmith $version"
check prints "$fresh/bin/glyphsmith-cli" --version "glyphsmith-cli $version"
if [ "$failures" -eq 0 ]; then echo "install: all checks passed"; else echo "install: $failures checks failed"; exit 1; fi
