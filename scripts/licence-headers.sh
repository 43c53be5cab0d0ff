#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Every source file starts with the licence's two-line header.
#   licence-headers.sh [--check] [SOURCE_DIR]
# With --check it only lists the files without one and fails if there are any.
set -euo pipefail
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
cd "${1:-$(dirname "$0")/..}"
L1='SPDX-License-Identifier: GPL-3.0-or-later'
L2='SPDX-FileCopyrightText: 2026 Kestrin News Reader authors'

sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -- '*.cpp' '*.h' '*.c' 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake' '*.sh' '.ci/run'
    else
        find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \
            -o -name CMakeLists.txt -o -name '*.cmake' -o -name '*.sh' -o -path ./.ci/run \) -print
    fi
}

missing=0
while read -r f; do
    [ -f "$f" ] || continue
    head -4 "$f" | grep -q 'SPDX-License-Identifier' && continue
    if [ $check = 1 ]; then echo "no licence header: $f"; missing=1; continue; fi
    case "$f" in
    *.cpp | *.h | *.c) { printf '// %s\n// %s\n\n' "$L1" "$L2"; cat "$f"; } >"$f.new" ;;
    *) if head -1 "$f" | grep -q '^#!'; then
           { head -1 "$f"; printf '# %s\n# %s\n' "$L1" "$L2"; tail -n +2 "$f"; } >"$f.new"
       else
           { printf '# %s\n# %s\n\n' "$L1" "$L2"; cat "$f"; } >"$f.new"
       fi ;;
    esac
    chmod --reference="$f" "$f.new"
    mv "$f.new" "$f"
done < <(sources)
exit $missing
