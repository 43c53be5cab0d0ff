#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Renders the fixed-size icons from the scalable one; run after changing the SVG and commit
# the PNGs (needs librsvg2-bin). The build only copies them.
set -euo pipefail
cd "$(dirname "$0")/hicolor"
svg=scalable/apps/com.kestrinsoft.NewsReader.svg
for size in 16 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/com.kestrinsoft.NewsReader.png"
done
