#!/usr/bin/env bash
# Builds the Debian package glyphsmith_VERSION_ARCH.deb from a build folder: everything
# `cmake --install` puts under /usr, stripped, plus Debian's copyright file and changelog, and a
# link in /etc/fonts/conf.d/ for each fontconfig file installed. Its dependencies are those of the
# shared libraries the programs link. Then checks its file list against the install manifest and
# runs lintian, failing on any error.
# Usage: scripts/package.sh [BUILD_FOLDER]    (default: build; made as a release build if missing,
#                                              reused as it is configured otherwise)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=$(realpath -m "${1:-build}")
debian_files=$PWD/resources/debian
work=$build/debian-package
root=$work/root

configure_and_build() {
    [ -f "$build/CMakeCache.txt" ] ||
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)"
}

project_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt"
}

# The changelog's newest entry must be this version's, or the package would carry another's notes.
check_changelog() {
    local logged
    logged=$(dpkg-parsechangelog -l "$debian_files/changelog" -SVersion)
    if [ "$logged" != "$1" ]; then
        echo "package: resources/debian/changelog starts at $logged, the project is at $1: add an entry" >&2
        exit 1
    fi
}

install_into_root() {
    rm -rf "$work"
    mkdir -p "$work"
    DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
    # Kept apart: the next install into this build folder (the install test's) rewrites it.
    cp "$build/install_manifest.txt" "$work/install_manifest.txt"
}

# Debian's machine-readable copyright file, its licence text taken from LICENSE itself.
write_copyright() {
    local holder
    holder=$(sed -n 's/^Copyright (c) //p' LICENSE)
    {
        echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
        echo "Upstream-Name: Glyphsmith"
        echo "Upstream-Contact: $(dpkg-parsechangelog -l "$debian_files/changelog" -SMaintainer)"
        echo
        echo "Files: *"
        echo "Copyright: $holder"
        echo "License: MIT"
        sed -e '1,/^Copyright (c) /d' LICENSE | sed -e '1{/^$/d}' -e 's/^$/./' -e 's/^/ /'
    } >"$1"
}

add_debian_files() {
    local doc=$root/usr/share/doc/glyphsmith
    install -d "$doc"
    write_copyright "$doc/copyright"
    gzip -9n -c "$debian_files/changelog" >"$doc/changelog.gz"
    chmod 644 "$doc/copyright" "$doc/changelog.gz"
}

# A fontconfig file only takes effect linked from /etc/fonts/conf.d/. The package ships the link,
# as Debian's font packages do, so dpkg owns it and removes it with the package; no maintainer
# script is needed. It is absolute because it crosses from /etc to /usr.
enable_fontconfig_files() {
    local conf name
    for conf in "$root"/usr/share/fontconfig/conf.avail/*; do
        [ -e "$conf" ] || continue
        name=$(basename "$conf")
        install -d "$root/etc/fonts/conf.d"
        ln -s "/usr/share/fontconfig/conf.avail/$name" "$root/etc/fonts/conf.d/$name"
    done
}

write_control() {
    local control=$work/debian/control
    mkdir -p "$work/debian" "$root/DEBIAN"
    cp "$debian_files/control" "$control"
    # dpkg-shlibdeps reads debian/control from the folder it runs in.
    (cd "$work" && dpkg-shlibdeps -Tdebian/substvars root/usr/bin/glyphsmith root/usr/bin/glyphsmith-cli)
    dpkg-gencontrol -c"$control" -l"$debian_files/changelog" -T"$work/debian/substvars" \
        -f"$work/debian/files" -P"$root"
    (cd "$root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | sort -z | xargs -0 md5sum) \
        >"$root/DEBIAN/md5sums"
    chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
}

configure_and_build
version=$(project_version)
check_changelog "$version"
install_into_root
add_debian_files
enable_fontconfig_files
write_control
find "$root" -type d -exec chmod 755 {} +
deb=$build/glyphsmith_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb
# No file time later than the changelog entry's, so a rebuild differs from the last only where
# its bytes do.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$debian_files/changelog" -STimestamp) \
    dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
bash tests/package/check-package-files.sh "$deb" "$work/install_manifest.txt"
lintian --fail-on error "$deb"
echo "package: $deb"
