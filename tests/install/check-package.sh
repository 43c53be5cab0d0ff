#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Builds the Debian package from the build folder and checks its name, its control data and
# its contents, and has lintian (when installed) look it over. Arguments: cpack, the build
# folder, the list of expected files, the version.
set -euo pipefail
cpack=$1 build=$2 expected=$3 version=$4

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack"; }
# The program's version with the packaging's revision: 2.7.0-1.
debs=("$out"/kestrin-news-reader_"${version}"-*_"$(dpkg --print-architecture)".deb)
[ -f "${debs[0]}" ] || { ls "$out" >&2; fail "no kestrin-news-reader_${version}-*.deb"; }
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = kestrin-news-reader ] || fail "package name"
package_version=$(dpkg-deb -f "$deb" Version)
[[ "$package_version" =~ ^${version//./\\.}-[0-9]+$ ]] || fail "package version $package_version"
[ "$(basename "$deb")" = "kestrin-news-reader_${package_version}_$(dpkg --print-architecture).deb" ] ||
    fail "file name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Found from the program's libraries, and the four it cannot show: the engine's helper
# process, the opener of the user's browser, the SVG plugin the skins draw with and the
# SQLite driver the headlines are kept with.
for package in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6webenginewidgets6 libxml2 \
    libqt6webenginecore6-bin xdg-utils libqt6svg6 libqt6sql6-sqlite; do
    tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -Fqx "$package" || fail "Depends lacks $package"
done

# Wayland desktops run it natively with the platform plugin; the Chinese message needs a CJK font.
for package in qt6-wayland fonts-wqy-microhei; do
    dpkg-deb -f "$deb" Recommends | tr ',' '\n' | awk '{print $1}' | grep -Fqx "$package" ||
        fail "Recommends lacks $package"
done

# What an install holds, and the Debian changelog besides.
doc=usr/share/doc/kestrin-news-reader
diff -u <( (sed 's|^|usr/|' "$expected"; echo "$doc/changelog.Debian.gz") | LC_ALL=C sort) \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | LC_ALL=C sort) ||
    fail "the package holds other files than $expected"
mkdir "$out/root"
dpkg-deb -x "$deb" "$out/root"
# The licence in Debian's machine-readable form, and a changelog naming this very package.
head -1 "$out/root/$doc/copyright" |
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "the copyright file is not in the machine-readable format"
grep -qx "License: GPL-3+" "$out/root/$doc/copyright" || fail "the copyright file names no GPL-3+"
zcat "$out/root/$doc/changelog.Debian.gz" | head -1 | grep -Fq "kestrin-news-reader ($package_version)" ||
    fail "the changelog's latest entry is not $package_version"
# Nothing runs at install or removal time that could touch a user's folder.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Eq 'preinst|postinst|prerm|postrm' &&
    fail "maintainer scripts in the package"
# Shipped without debugging data.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/kestrin-news-reader >"$out/program"
file "$out/program" | grep -q ", stripped" || fail "the program is not stripped"
if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1 || true
    cat "$out/lintian.log"
    ! grep -q '^E: ' "$out/lintian.log" || fail "lintian finds errors"
else
    echo "lintian is not installed: the package was not looked over"
fi
echo "package $(basename "$deb"): ok"
