#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what lands there: the two
# programs, the desktop entry that associates GBA images, and the icon.
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
installed=$(cd "$prefix" && find . -type f | sort)
expected="./bin/vantrel
./bin/vantrel-cli
./share/applications/vantrel.desktop
./share/icons/hicolor/32x32/apps/vantrel.png"
[ "$installed" = "$expected" ] || fail "installed files are: $installed"

[ -x "$prefix/bin/vantrel" ] || fail "vantrel is not executable"
[ "$("$prefix/bin/vantrel-cli" --version)" = "vantrel-cli 1.00" ] || fail "vantrel-cli does not run"
cmp -s "$icon" "$prefix/share/icons/hicolor/32x32/apps/vantrel.png" || fail "the icon differs"

entry="$prefix/share/applications/vantrel.desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
for line in 'Exec=vantrel %f' 'Icon=vantrel' 'MimeType=application/x-gba-rom;' 'Terminal=false'; do
  grep -qxF "$line" "$entry" || fail "the desktop entry lacks '$line'"
done
echo "install: vantrel, vantrel-cli, desktop entry for application/x-gba-rom and icon"
