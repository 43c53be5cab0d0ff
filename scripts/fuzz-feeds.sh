#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Fuzzes the feed parser (TARGET feed) or discovery's page-head reader (TARGET pagehead) for
# the given number of seconds (default 600) with clang's libFuzzer, starting from the
# committed corpus; further arguments go to libFuzzer (for example -runs=1000000 to stop
# after that many inputs). New inputs go to build-fuzz/corpus-TARGET, never into the
# committed one; a fault stops the run and leaves its reproducer in build-fuzz/.
# Needs clang and libclang-rt-14-dev (apt-get install clang libclang-rt-14-dev).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:-feed}"
seconds="${2:-600}"
shift $(( $# < 2 ? $# : 2 ))
case "$target" in
    feed | pagehead) ;;
    *) echo "usage: $0 feed|pagehead [SECONDS] [libFuzzer arguments]" >&2; exit 2 ;;
esac
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTRIN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target "${target}_fuzzer" -j2

mkdir -p "$build/corpus-$target"
cd "$build"
ASAN_OPTIONS="${ASAN_OPTIONS:-max_malloc_fill_size=0}" \
    "$build/fuzz/${target}_fuzzer" "$build/corpus-$target" "$root/fuzz/corpus-$target" \
    -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/$target-" "$@"
