#!/usr/bin/env bash
# Prepares a Debian 12 machine and this checkout: installs the Debian packages that are
# missing, configures and builds, and lays out the application folder build/app/ with a new
# ss.mdb when there is none (an existing database is never touched).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libsqlite3-dev libxlsxwriter-dev
          libarchive-dev libgl-dev fonts-noto-cjk xvfb xauth)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build --parallel

if [ ! -e build/app/ss.mdb ]; then
    build/app/qitang-admin newdb build/app
fi
