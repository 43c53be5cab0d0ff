#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Start-up benchmark: time from launch to the main window mapped, to its first painted frame
# (seen on the X server through DAMAGE) and to the caption holding the home page's title,
# for the program and for the floor (bench/StartupFloor.cpp: a bare window with the same
# splitter, tree and web view created after the first paint), run in turn under one Xvfb.
# Each run starts as a returning user: settings, the user's folder and the browser's data are
# those left by one warm-up run of each program, which is not counted. FRESH_SETTINGS=1 gives
# every run new settings instead, as at a first start.
# Prints every run, the medians and the program-to-floor ratios. On a busy machine, run it
# with a raised priority (nice -n -15, as root) so other work does not swamp the figures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${RUNS:-7}"
build="$root/build"
cmake --build "$build" --target KestrinNewsReader kestrin_data startup_floor first_paint_probe \
    >/dev/null

display=":97"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

user="$(mktemp -d)"
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$user"' EXIT

# run_once <program>: prints "mapped paint caption" in microseconds since launch.
run_once() {
    local program="$1" home probe_out start out m p c maps
    home="$(mktemp -d)"
    probe_out="$home/probe"
    DISPLAY="$display" "$build/bench/first_paint_probe" 30 >"$probe_out" 2>&1 &
    local probe=$!
    until grep -q ready "$probe_out" 2>/dev/null; do sleep 0.02; done
    start=$(date +%s%N)
    local config="$user/.config"
    if [ -n "${FRESH_SETTINGS:-}" ]; then config="$home/.config"; fi
    out=$(cd "$home" && HOME="$home" XDG_CONFIG_HOME="$config" \
        XDG_DATA_HOME="$user/.local/share" XDG_CACHE_HOME="$user/.cache" \
        DISPLAY="$display" QT_QPA_PLATFORM=xcb KESTRIN_STARTUP_TRACE=exit \
        timeout 30 "$program" 2>&1 || true)
    kill -TERM "$probe" 2>/dev/null || true
    wait "$probe" || true
    m=$(sed -n 's/^kestrin-startup mapped \([0-9]*\).*/\1/p' <<<"$out" | head -1)
    c=$(sed -n 's/^kestrin-startup caption \([0-9]*\).*/\1/p' <<<"$out" | head -1)
    p=$(sed -n 's/^first-paint \([0-9]*\).*/\1/p' "$probe_out" | head -1)
    maps=$(sed -n 's/^maps \([0-9]*\).*/\1/p' "$probe_out" | head -1)
    if [ "${maps:-0}" -gt 1 ]; then
        echo "$(basename "$program"): the main window was mapped $maps times (it blinked)" >&2
    fi
    rm -rf "$home"
    if [ -z "$m" ] || [ -z "$c" ] || [ -z "$p" ]; then
        echo "$(basename "$program"): no trace" >&2
        echo "$out" | tail -5 >&2
        exit 1
    fi
    echo "$(((m - start) / 1000)) $(((p - start) / 1000)) $(((c - start) / 1000))"
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
least() { printf '%s\n' "$@" | sort -n | head -1; }
seconds() { printf '%.3f' "$(bc -l <<<"$1 / 1000000")"; }

program="$build/bin/kestrin-news-reader"
floor="$build/bench/startup_floor"
run_once "$program" >/dev/null
run_once "$floor" >/dev/null

declare -a app_m app_p app_c floor_m floor_p floor_c
for i in $(seq "$runs"); do
    read -r m p c < <(run_once "$program")
    app_m+=("$m"); app_p+=("$p"); app_c+=("$c")
    read -r m p c < <(run_once "$floor")
    floor_m+=("$m"); floor_p+=("$p"); floor_c+=("$c")
    printf 'run %d: program window %s s, first paint %s s, caption %s s | ' "$i" \
        "$(seconds "${app_m[-1]}")" "$(seconds "${app_p[-1]}")" "$(seconds "${app_c[-1]}")"
    printf 'floor window %s s, first paint %s s, caption %s s\n' \
        "$(seconds "${floor_m[-1]}")" "$(seconds "${floor_p[-1]}")" "$(seconds "${floor_c[-1]}")"
done

# summary <label> <pick>: the runs of both programs taken together by pick (median, least).
summary() {
    local label="$1" pick="$2" am ap ac fm fp fc
    am=$("$pick" "${app_m[@]}"); ap=$("$pick" "${app_p[@]}"); ac=$("$pick" "${app_c[@]}")
    fm=$("$pick" "${floor_m[@]}"); fp=$("$pick" "${floor_p[@]}"); fc=$("$pick" "${floor_c[@]}")
    printf '%s program: window %s s, first paint %s s, caption %s s\n' "$label" \
        "$(seconds "$am")" "$(seconds "$ap")" "$(seconds "$ac")"
    printf '%s floor:   window %s s, first paint %s s, caption %s s\n' "$label" \
        "$(seconds "$fm")" "$(seconds "$fp")" "$(seconds "$fc")"
    printf '%s program / floor: window %.2f, first paint %.2f, caption %.2f\n' "$label" \
        "$(bc -l <<<"$am / $fm")" "$(bc -l <<<"$ap / $fp")" "$(bc -l <<<"$ac / $fc")"
}

summary median median
# The fastest run of each is the least disturbed by other work on the machine.
summary fastest least
