#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Sets up what is missing, builds the program and makes the Debian package
# build/package/kestrin-news-reader_<version>_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target KestrinNewsReader kestrin_data
cpack --config "$root/build/CPackConfig.cmake" -B "$root/build/package"
rm -rf "$root/build/package/_CPack_Packages"
ls "$root"/build/package/*.deb
