#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the program from the folder that holds its
# data files (Favorites.xml, readme.htm, Skin/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target KestrinNewsReader kestrin_data
cd "$root/build/run"
exec "$root/build/KestrinNewsReader" "$@"
