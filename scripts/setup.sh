#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Installs the Debian 12 packages the build and the tests need; installs nothing
# when all are present. With --tests, also the tools only the test suite uses.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-private-dev qt6-webengine-dev libqt6webenginecore6-bin libqt6svg6 libgl-dev
    libqt6sql6-sqlite
    libxml2-dev libx11-dev
    xvfb xauth fonts-dejavu-core fonts-wqy-microhei
    xdg-utils
    desktop-file-utils appstream dpkg-dev file
    libxdamage-dev x11-utils bc
    qt6-wayland
)
# A Wayland compositor to start the program on, and Debian's package checker.
test_packages=(weston lintian)
if [ "${1:-}" = --tests ]; then
    packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
