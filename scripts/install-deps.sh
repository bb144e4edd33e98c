#!/usr/bin/env bash
# Installs the Debian packages the game, its server, tools and tests need, then
# Box2D's source (scripts/fetch-box2d.sh). Only what is missing is fetched, so
# a prepared machine pays nothing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    libsfml-dev libsdl2-dev libsdl2-mixer-dev
    libboost-dev libsqlite3-dev libpq-dev
    libfreetype-dev libvorbis-dev ttf-bitstream-vera
    libpugixml-dev zlib1g-dev libzstd-dev
)
if [ "${1:-}" = "--tests" ]; then
    packages+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils libx11-dev clang libclang-rt-14-dev postgresql chromium)
    # The install tests: the installed desktop entry and metainfo validated, the
    # Debian packages built and judged.
    packages+=(desktop-file-utils appstream lintian dpkg-dev fakeroot)
    # The editor round trip: shipped levels re-saved by the tile editor itself.
    packages+=(tiled)
    # Runs replayed on arm64 under qemu, with the simulation's libraries for
    # that CPU; and the simulation under ThreadSanitizer (clang's runtime, above).
    packages+=(crossbuild-essential-arm64 qemu-user file)
    packages+=(libpugixml-dev:arm64 zlib1g-dev:arm64 libzstd-dev:arm64)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    # Packages of another CPU (name:arch) need that architecture known to dpkg.
    for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*:\([a-z0-9]*\)$/\1/p' | sort -u); do
        dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch"
    done
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

"$(dirname "$0")/fetch-box2d.sh"
