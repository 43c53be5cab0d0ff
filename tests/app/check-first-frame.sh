#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# The program on a real X display, as a user starts it: its window is put up once (it does
# not blink), its first frame reaches the screen, the home page's title comes to the
# caption, and the page is drawn in the web pane once the window composes through the GPU.
# Usage: check-first-frame.sh <program> <first_paint_probe>
set -euo pipefail
program="$1"
probe="$2"
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for f in probe program; do
        [ -f "$work/$f" ] && { echo "--- $f" >&2; tail -20 "$work/$f" >&2; }
    done
    exit 1
}

# wait_for <file> <pattern> <seconds>
wait_for() {
    local deadline=$((SECONDS + $3))
    until grep -q "$2" "$1" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# A display of its own, on a free number.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_for "$work/display" '[0-9]' 20 || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"

"$probe" 120 >"$work/probe" 2>&1 &
probe_pid=$!
pids+=("$probe_pid")
wait_for "$work/probe" ready 20 || fail "the probe did not start"

mkdir -p "$work/home"
(cd "$work/home" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache" \
    QT_QPA_PLATFORM=xcb KESTRIN_STARTUP_TRACE=1 exec "$program") >"$work/program" 2>&1 &
pids+=($!)
wait_for "$work/program" '^kestrin-startup caption .* - Kestrin News Reader' 90 ||
    fail "the home page's title never reached the caption"
# The page is drawn shortly after its title arrives.
sleep 3
kill -TERM "$probe_pid"
wait "$probe_pid" || fail "the probe saw no frame of the main window"

grep -q '^first-paint [0-9]' "$work/probe" || fail "no first frame"
maps=$(sed -n 's/^maps \([0-9]*\)$/\1/p' "$work/probe")
[ "$maps" = 1 ] || fail "the main window was put up $maps times (it blinked)"
blue=$(sed -n 's/^blue-pixels \([0-9]*\)$/\1/p' "$work/probe")
[ "${blue:-0}" -ge 2000 ] || fail "the start page is not drawn in the web pane ($blue banner pixels)"
echo "first frame, one map, caption and page: all there ($blue banner pixels)"
