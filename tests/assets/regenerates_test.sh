#!/usr/bin/env bash
# The committed artwork must be exactly what its script draws: a hand edit
# of a picture, or a script change whose output was not committed, fails.
set -euo pipefail
assets="$1"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$assets/draw_assets.py" "$out" >/dev/null
status=0
for drawn in "$out"/*; do
  cmp "$assets/$(basename "$drawn")" "$drawn" || status=1
done
exit $status
