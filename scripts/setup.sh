#!/usr/bin/env bash
# Installs the Debian packages that Velloria needs and are missing, then configures and builds
# it in build/. Usage: scripts/setup.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config librsvg2-bin
    qt6-base-dev qt6-qpa-plugins libqt6svg6 libgl-dev
    libutf8proc-dev libcurl4-openssl-dev libsqlite3-dev libsimdjson-dev libpugixml-dev libgtest-dev libgmock-dev libcpp-httplib-dev
    fonts-dejavu-core xdg-utils
)

scripts/install-packages.sh "${packages[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
