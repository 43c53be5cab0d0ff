#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks its name, its control data and
# its contents. Arguments: cpack, the build folder, the list of expected files, the version.
set -euo pipefail
cpack=$1 build=$2 expected=$3 version=$4

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack"; }
deb="$out/kestrin-news-reader_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$out" >&2; fail "no $(basename "$deb")"; }

[ "$(dpkg-deb -f "$deb" Package)" = kestrin-news-reader ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Found from the program's libraries, and the four it cannot show: the engine's helper
# process, the opener of the user's browser, the SVG plugin the skins draw with and the
# SQLite driver the headlines are kept with.
for package in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6webenginewidgets6 libxml2 \
    libqt6webenginecore6-bin xdg-utils libqt6svg6 libqt6sql6-sqlite; do
    tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -Fqx "$package" || fail "Depends lacks $package"
done

diff -u <(sed 's|^|usr/|' "$expected") \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | LC_ALL=C sort) ||
    fail "the package holds other files than $expected"
# Nothing runs at install or removal time that could touch a user's folder.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Eq 'preinst|postinst|prerm|postrm' &&
    fail "maintainer scripts in the package"
# Shipped without debugging data.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/kestrin-news-reader >"$out/program"
file "$out/program" | grep -q ", stripped" || fail "the program is not stripped"
echo "package $(basename "$deb"): ok"
