#!/usr/bin/env bash
# Checks the release files scripts/package wrote, with the tools packagers
# use: lintian on the Debian package, the AppStream and desktop-entry
# validators on what it installs, its programs run from the unpacked tree;
# the zip's four files, its command-line tool run under Wine and both
# programs' version records; the page's zip's files; and the checksums.
# Usage: package_test.sh DIST
set -euo pipefail
dist=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'WINEPREFIX="$work/wine" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
  echo "package: $*" >&2
  exit 1
}

(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
deb=$(echo "$dist"/vantrel_*_amd64.deb)
zip=$(echo "$dist"/Vantrel-*-win64.zip)
page=$(echo "$dist"/Vantrel-*-web.zip)

# ---- the Debian package ------------------------------------------------------
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings"
dpkg-deb -x "$deb" "$work/deb"
root="$work/deb/usr"
unpacked=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(cat "$here/../support/installed_files.txt")
[ "$unpacked" = "$expected" ] || fail "the package's files differ: $(diff <(echo "$expected") <(echo "$unpacked"))"
appstreamcli validate --no-net "$root/share/metainfo/org.vantrel.Vantrel.metainfo.xml" ||
  fail "the metainfo does not validate"
desktop-file-validate "$root/share/applications/org.vantrel.Vantrel.desktop" ||
  fail "the desktop entry does not validate"
[ "$("$root/bin/vantrel-cli" --version)" = "vantrel-cli 1.00" ] || fail "vantrel-cli --version"
species=$("$root/bin/vantrel-cli" species)
[ "$(wc -l <<<"$species")" -eq 386 ] && [ "$(head -n 1 <<<"$species")" = $'1\tBulbasaur' ] &&
  [ "$(tail -n 1 <<<"$species")" = $'386\tDeoxys' ] ||
  fail "vantrel-cli species"

# ---- the Windows zip ---------------------------------------------------------
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$listed" = $'LICENSE.txt\nREADME.txt\nVantrel.exe\nvantrel-cli.exe' ] ||
  fail "the zip holds: $listed"
unzip -q "$zip" -d "$work/zip"
version=$(WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  timeout 300 wine "$work/zip/vantrel-cli.exe" --version </dev/null 2>/dev/null | tr -d '\r')
[ "$version" = "vantrel-cli 1.00" ] || fail "vantrel-cli.exe --version under Wine printed '$version'"
record() {
  exiftool -S -FileVersionNumber -ProductVersionNumber -LanguageCode -CharacterSet \
    -FileVersion -ProductVersion -InternalName -OriginalFileName "$work/zip/$1.exe"
}
for program in Vantrel vantrel-cli; do
  expected_record="FileVersionNumber: 1.0.0.0
ProductVersionNumber: 1.0.0.0
LanguageCode: English (U.S.)
CharacterSet: Unicode
FileVersion: 1.00
ProductVersion: 1.00
InternalName: $program
OriginalFileName: $program.exe"
  [ "$(record "$program")" = "$expected_record" ] || fail "$program.exe's version record: $(record "$program")"
done

# ---- the page's zip ----------------------------------------------------------
listed=$(unzip -Z1 "$page" | LC_ALL=C sort)
[ "$listed" = $'LICENSE.txt\nREADME.txt\nVantrel.html\nmanifest.webmanifest\nservice-worker.js\nvantrel-256.png\nvantrel-48.png' ] ||
  fail "the page's zip holds: $listed"
unzip -q "$page" -d "$work/page"
size=$(stat -c %s "$work/page/Vantrel.html")
[ "$size" -le 300000 ] || fail "Vantrel.html is $size bytes, more than 300 KB"

for file in "$deb" "$zip" "$page"; do echo "package: $(basename "$file") ($(stat -c %s "$file") bytes) passes"; done
