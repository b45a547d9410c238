#!/usr/bin/env bash
# The package holds exactly what `cmake --install` installed, and nothing else but Debian's own
# files: the copyright file, the changelog, and a link in /etc/fonts/conf.d/ to each installed
# fontconfig file. A file the install adds but the package misses, or a stray one, fails.
# Usage: check-package-files.sh PACKAGE.deb INSTALL_MANIFEST
set -euo pipefail
deb=$1
manifest=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The manifest names files as under the prefix, without DESTDIR; its last line has no line end.
awk 1 "$manifest" >"$scratch/installed"
{
    cat "$scratch/installed"
    echo /usr/share/doc/glyphsmith/copyright
    echo /usr/share/doc/glyphsmith/changelog.gz
    sed -n -e 's|^/usr/share/fontconfig/conf.avail/\(.*\)|/etc/fonts/conf.d/\1|p' "$scratch/installed"
} | sort >"$scratch/expected"

# Files and links only: a package lists its folders too, an install manifest does not.
dpkg-deb --fsys-tarfile "$deb" | tar -tv >"$scratch/listing"
grep -v '^d' "$scratch/listing" | awk '{ print $6 }' | sed -e 's|^\./|/|' | sort >"$scratch/packaged"

failures=0
if ! diff -u "$scratch/expected" "$scratch/packaged" >"$scratch/diff"; then
    echo "FAILED: the package's files differ from the install manifest's (- missing, + extra):"
    tail -n +3 "$scratch/diff" | grep -E '^[-+]'
    failures=$((failures + 1))
fi
# Each link enabling a fontconfig file names the file of its own name, where the package puts it.
while read -r link target; do
    name=${link##*/}
    if [ "$target" != "/usr/share/fontconfig/conf.avail/$name" ]; then
        echo "FAILED: $link points at $target"
        failures=$((failures + 1))
    fi
done < <(awk '/^l/ && $6 ~ /^\.\/etc\/fonts\/conf\.d\// { sub(/^\./, "", $6); print $6, $8 }' "$scratch/listing")

count=$(wc -l <"$scratch/packaged")
if [ "$failures" -eq 0 ]; then echo "package files: all $count as installed"; else exit 1; fi
