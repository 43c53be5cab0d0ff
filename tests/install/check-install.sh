#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors
# Installs into a temporary DESTDIR and checks what a user's system would get: exactly the
# expected files, a valid desktop entry and AppStream data, and a program that, started from
# / with a fresh home folder, runs in the user's own folder and never replaces its favorites.
# Arguments: cmake, the build folder, the list of expected files, the project version.
set -euo pipefail
cmake=$1 build=$2 expected=$3 version=$4

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/root"
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" "$cmake" --install "$build" --prefix /usr >"$stage/install.log"

# Exactly the expected files and nothing else, under the prefix only.
diff -u <(sed 's|^|usr/|' "$expected") <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) ||
    fail "the installed files differ from $expected"
[ -z "$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "files outside the prefix"
[ -x "$root/usr/bin/kestrin-news-reader" ] || fail "the program is not executable"
# The feed checker reads a feed as installed, without the build folder.
printf '<rss version="2.0"><channel><title>Installed</title><item><title>It reads</title></item></channel></rss>' \
    >"$stage/feed.xml"
env -i PATH=/usr/bin:/bin "$root/usr/bin/kestrin-feed-dump" "$stage/feed.xml" | grep -q '"title": "It reads"' ||
    fail "the installed kestrin-feed-dump does not read a feed"
[ "$(stat -c %a "$root/usr/share/kestrin-news-reader/Favorites.xml")" = 644 ] ||
    fail "the favorites template is not readable by every user"

share="$root/usr/share"
id=com.kestrinsoft.NewsReader
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
# The entries name what was installed.
grep -qx "Exec=kestrin-news-reader" "$share/applications/$id.desktop" || fail "Exec names another program"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "Icon names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$share/metainfo/$id.metainfo.xml" ||
    fail "the launchable is not the installed desktop entry"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
    fail "no release $version in the AppStream data"
for size in 16 24 32 48 64 128 256; do
    file "$share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
        fail "the ${size}x${size} icon is not $size pixels square"
done

home="$stage/home"
mkdir -p "$home"
folder="$home/.local/share/kestrin-news-reader"
start() {
    (cd / && env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
        QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-first-run" KESTRIN_STARTUP_TRACE=exit \
        timeout 120 "$root/usr/bin/kestrin-news-reader") >"$stage/run.log" 2>&1 ||
        { cat "$stage/run.log" >&2; fail "the installed program did not start and end cleanly"; }
    grep -q "^kestrin-startup caption" "$stage/run.log" || fail "the main window never showed a page"
}

start
cmp "$folder/Favorites.xml" "$share/kestrin-news-reader/Favorites.xml" || fail "no empty favorites file"
cmp "$folder/readme.htm" "$share/kestrin-news-reader/readme.htm" || fail "no help page"
for skin in Minimized Night SoftCrystal XPCorona; do
    cmp "$folder/Skin/$skin.ssk" "$share/kestrin-news-reader/Skin/$skin.ssk" || fail "no $skin skin"
done
[ -w "$folder/Favorites.xml" ] || fail "the favorites file cannot be changed"
# The terminal stays free of the web engine's start-up chatter.
! grep -q "GL Type\|kTransientFailure" "$stage/run.log" || fail "engine noise on the terminal"

# The user's favorites and their backup survive the next start untouched.
cat >"$folder/Favorites.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Favorites><Favorite><title>Harbor Gazette</title><url>https://harbor.example/</url></Favorite></Favorites>
XML
cp "$folder/Favorites.xml" "$stage/mine.xml"
cp "$folder/Favorites.xml" "$folder/Favorites.xml.bk"
start
cmp "$folder/Favorites.xml" "$stage/mine.xml" || fail "the second start replaced Favorites.xml"
cmp "$folder/Favorites.xml.bk" "$stage/mine.xml" || fail "the second start replaced the backup"
echo "installed layout, metadata and start-up in the user's folder: ok"
