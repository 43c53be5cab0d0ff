#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Builds the program, its tests and benchmarks with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize/ and runs the whole test suite there. A report
# fails the test that made it; the only ones let through come from libraries that are not
# ours, each listed with its reason in scripts/sanitize/. Arguments go to ctest (for example
# -R favorites to run some tests only).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-sanitize"
"$root/scripts/setup.sh" --tests

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
sanitizers="-fsanitize=address,undefined"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build"

supp="$root/scripts/sanitize"
# Every process of a test (helpers it starts too) stops at its first report, with a stack.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_string_checks=1:detect_odr_violation=1:suppressions=$supp/asan.supp"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
cd "$build"
# Instrumented code runs two to three times slower: the time-outs grow to match.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 1800 -j2 "$@"
