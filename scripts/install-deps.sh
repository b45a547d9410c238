#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Glyphsmith need,
# skipping the ones already present. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-image-formats-plugins libgl-dev libjpeg-dev
          desktop-file-utils appstream man-db python3 dpkg-dev lintian fontconfig fonts-liberation2
          clang libclang-rt-14-dev "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
