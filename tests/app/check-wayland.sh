#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# The program on a Wayland compositor, as on a Wayland desktop with qt6-wayland: started on a
# headless weston, it runs natively, loads a page from this machine and quits cleanly. Wayland
# lets no program place its own windows, so the place kept from an X session stays as it was,
# while the window's size and the tree's width are still restored.
# Usage: check-wayland.sh <program> <Qt's plugin folder>
# Exits 77 (skipped) when weston or Qt's Wayland plugin is not installed.
set -euo pipefail
program="$1"
plugins="$2"
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
[ -f "$plugins/platforms/libqwayland-generic.so" ] ||
    { echo "SKIP: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

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
    for f in weston program; do
        [ -f "$work/$f" ] && { echo "--- $f" >&2; tail -20 "$work/$f" >&2; }
    done
    exit 1
}

# A compositor of its own, with no outputs but memory.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=kestrin-wayland-check
weston --backend=headless-backend.so --socket="$socket" --no-config --idle-time=0 \
    --width=1280 --height=1024 >"$work/weston" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start"

# A page on this machine as the home page, and a layout kept from an earlier run.
home="$work/home"
mkdir -p "$home/.config/Local AppWizard-Generated Applications"
printf '<!DOCTYPE html><html><head><title>Wayland Check</title></head><body>A page</body></html>\n' \
    >"$work/page.html"
settings="$home/.config/Local AppWizard-Generated Applications/KestrinNewsReader.conf"
cat >"$settings" <<SETTINGS
[Settings_en]
IndexPage=3
IndexPageURL=file://$work/page.html
WindowLeft=300
WindowTop=200
WindowWidth=900
WindowHeight=640
TreeWidth=310
SETTINGS

status=0
(cd "$home" && env -u DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland KESTRIN_STARTUP_TRACE=exit \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-first-run" \
    timeout 120 "$program") >"$work/program" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the program did not end cleanly (status $status)"
grep -q '^kestrin-startup caption .* Wayland Check - Kestrin News Reader$' "$work/program" ||
    fail "the page's title never reached the caption"

value() { sed -n "s/^$1=//p" "$settings"; }
[ "$(value WindowLeft)/$(value WindowTop)" = 300/200 ] ||
    fail "the kept place became $(value WindowLeft),$(value WindowTop)"
[ "$(value WindowWidth)x$(value WindowHeight)" = 900x640 ] ||
    fail "the window's size became $(value WindowWidth)x$(value WindowHeight)"
[ "$(value TreeWidth)" = 310 ] || fail "the tree's width became $(value TreeWidth)"
echo "on Wayland: started, showed the page, quit cleanly; place kept, size and tree width restored"
