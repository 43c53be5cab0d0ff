#!/usr/bin/env bash
# Start-up benchmark: time from launch to the first mapped main window and to the caption
# holding the home page's title, median of 5 runs under Xvfb, each with fresh settings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${RUNS:-5}"
cmake --build "$root/build" --target KestrinNewsReader kestrin_data >/dev/null

display=":97"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1

mapped=()
caption=()
for i in $(seq "$runs"); do
    home="$(mktemp -d)"
    start=$(date +%s%N)
    out=$(HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
        DISPLAY="$display" QT_QPA_PLATFORM=xcb KESTRIN_STARTUP_TRACE=exit \
        timeout 30 "$root/build/bin/kestrin-news-reader" 2>&1 || true)
    rm -rf "$home"
    m=$(sed -n 's/^kestrin-startup mapped \([0-9]*\).*/\1/p' <<<"$out" | head -1)
    c=$(sed -n 's/^kestrin-startup caption \([0-9]*\).*/\1/p' <<<"$out" | head -1)
    if [ -z "$m" ] || [ -z "$c" ]; then
        echo "run $i: no trace"; echo "$out" | tail -5; exit 1
    fi
    mapped+=("$(( (m - start) / 1000 ))")
    caption+=("$(( (c - start) / 1000 ))")
    printf 'run %d: window %6.3f s, caption %6.3f s\n' "$i" \
        "$(bc -l <<<"${mapped[-1]} / 1000000")" "$(bc -l <<<"${caption[-1]} / 1000000")"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
printf 'median: window %.3f s, caption %.3f s\n' \
    "$(bc -l <<<"$(median "${mapped[@]}") / 1000000")" \
    "$(bc -l <<<"$(median "${caption[@]}") / 1000000")"
