# Shared by the benchmarks and the README's picture scripts, which source it: the photos of
# Debian's mate-backgrounds package, fetched once into a cache, baseline copies made from them,
# single files of other Debian packages fetched the same way, and the tools that are missing
# installed. The caller sets `cache` and defines die().

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages of the commands not found; each argument is "command:package".
install_missing() {
    local missing=() pair
    for pair in "$@"; do
        command -v "${pair%%:*}" >/dev/null 2>&1 || missing+=("${pair#*:}")
    done
    [ ${#missing[@]} -eq 0 ] && return
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
    echo "Installing: ${missing[*]}" >&2
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# Prints the path of the package's photo named $1, fetching the package once into the cache.
fetch_photo() {
    local found
    mkdir -p "$cache"
    found=$(find "$cache/extracted" -name "$1" -print -quit 2>/dev/null || true)
    if [ -z "$found" ]; then
        if ! ls "$cache"/mate-backgrounds_*.deb >/dev/null 2>&1; then
            (cd "$cache" && apt-get download mate-backgrounds >&2) || die "apt-get download mate-backgrounds failed"
        fi
        rm -rf "$cache/extracted"
        dpkg-deb -x "$(ls "$cache"/mate-backgrounds_*.deb | head -n 1)" "$cache/extracted"
        found=$(find "$cache/extracted" -name "$1" -print -quit)
    fi
    [ -n "$found" ] || die "$1 is not in the mate-backgrounds package"
    echo "$found"
}

# Prints the path of a baseline copy of photo $1 made once into the cache with cjpeg -quality 85,
# at djpeg scale $2 (1/1: the same size; 2/1: doubled), named $3.
make_baseline() {
    local copy=$cache/$3
    if [ ! -s "$copy" ]; then
        djpeg -scale "$2" "$1" | cjpeg -quality 85 >"$copy.part" || die "could not make $3"
        mv "$copy.part" "$copy"
    fi
    echo "$copy"
}

# Prints the path of file $2, a path inside Debian package $1 from its root, fetching the package
# once into the cache and unpacking it there into unpacked/$1.
fetch_package_file() {
    local package=$1 file=$2 dir=$cache/unpacked/$1
    if [ ! -f "$dir/$file" ]; then
        mkdir -p "$cache"
        if ! ls "$cache/${package}"_*.deb >/dev/null 2>&1; then
            (cd "$cache" && apt-get download "$package" >&2) || die "apt-get download $package failed"
        fi
        rm -rf "$dir"
        mkdir -p "$dir"
        dpkg-deb -x "$(ls "$cache/${package}"_*.deb | head -n 1)" "$dir"
    fi
    [ -f "$dir/$file" ] || die "$file is not in the $package package"
    echo "$dir/$file"
}
