#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what lands there: every
# file of tests/support/installed_files.txt and nothing else, programs that
# run, the desktop entry that associates GBA images, and the icon.
# Usage: install_test.sh CMAKE BUILD_DIR ICON_PNG
set -euo pipefail
cmake=$1
build=$2
icon=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
  echo "install: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(cat "$(dirname "$0")/../../support/installed_files.txt")
[ "$installed" = "$expected" ] || fail "installed files differ: $(diff <(echo "$expected") <(echo "$installed"))"

[ -x "$prefix/bin/vantrel" ] || fail "vantrel is not executable"
[ "$("$prefix/bin/vantrel-cli" --version)" = "vantrel-cli 1.00" ] || fail "vantrel-cli does not run"
cmp -s "$icon" "$prefix/share/icons/hicolor/32x32/apps/org.vantrel.Vantrel.png" || fail "the icon differs"

entry="$prefix/share/applications/org.vantrel.Vantrel.desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
for line in 'Exec=vantrel %f' 'Icon=org.vantrel.Vantrel' 'MimeType=application/x-gba-rom;' 'Terminal=false'; do
  grep -qxF "$line" "$entry" || fail "the desktop entry lacks '$line'"
done
echo "install: vantrel, vantrel-cli, manual pages, desktop entry for application/x-gba-rom, metainfo and icons"
