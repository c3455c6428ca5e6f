#!/bin/sh
# Installs the Debian packages Tarnel needs (when missing) and builds it into
# build/. Run as root on a fresh Debian 12 machine, or with sudo available.
set -eu
cd "$(dirname "$0")/.."

packages="cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev googletest libbenchmark-dev fonts-liberation fonts-dejavu-core fonts-droid-fallback fonts-noto-color-emoji poppler-utils unrtf default-jdk-headless openjdk-17-source ripgrep unzip"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing:$missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"
