#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Sets up what is missing, builds, and starts the program. It runs in your own folder,
# ~/.local/share/kestrin-news-reader (KESTRIN_USER_DIR names another), never inside build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target KestrinNewsReader kestrin_data
exec "$root/build/bin/kestrin-news-reader" "$@"
