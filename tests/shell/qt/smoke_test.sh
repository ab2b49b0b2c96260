#!/usr/bin/env bash
# Drives the real program on an X display, as a user would: the window of
# `vantrel IMAGE` appears with its title and size, the box of the image
# opened at start is dismissed, a screen reader's view of the controls is
# read over AT-SPI, "Open ROM" is clicked and its dialog cancelled, which
# leaves the window up and the image as it was; "Play", with no sound server
# to play on, shows its box; "Save ROM" then writes back the species shown,
# and the window is closed.
# Needs DISPLAY (scripts/with-xvfb gives one) and a D-Bus session bus
# (dbus-run-session gives one).
# Usage: smoke_test.sh VANTREL [SCREENSHOT_PNG]
set -euo pipefail
program=$1
screenshot=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../support/smoke.sh"

# Clicks the centre of a button of the table, by its pixels.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }

# Cry 6, Charizard.
image="$work/fire red.gba"
make_image "$image" 6

# The accessibility bus runs before the program starts, so that Qt joins it.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null || fail "no accessibility bus"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 PULSE_SERVER="unix:$work/no sound server" \
  "$program" "$image" </dev/null >"$work/vantrel.log" 2>&1 &
pid=$!

# The main window is the one with no owner; its class is the program's.
windows=$(timeout 30 xdotool search --sync --onlyvisible --class '^vantrel$') ||
  fail "no window of the program came up"
main=
for window in $windows; do
  owned "$window" || main=$window
done
[ -n "$main" ] || fail "no main window"
[ "$(xdotool getwindowname "$main")" = Vantrel ] || fail "the window is titled '$(xdotool getwindowname "$main")'"
geometry=$(xdotool getwindowgeometry "$main" | sed -n 's/^ *Geometry: //p')
[ "$geometry" = 383x275 ] || fail "the client area is $geometry, not 383x275"

wait_for "the box of the image opened at start" have_box
dismiss_box
# Without the time of taking, so that the same window gives the same file.
[ -z "$screenshot" ] || import -window "$main" -strip "$screenshot"

# The list is labelled by Label1's caption (its own name is the species
# shown); the controls that write name the image in their tooltips.
/usr/bin/python3 "$here/accessible_names.py" vantrel >"$work/accessible" ||
  fail "the controls could not be read over AT-SPI"
for line in "combo box|Charizard|Select Pokémon:|$image" "push button|Save ROM||$image" \
  "push button|Remove Cry||$image" "push button|Restore Removed Cry||$image" \
  "push button|Open ROM||" "push button|Play cry||Play Charizard's cry from $image"; do
  grep -qxF "$line" "$work/accessible" || fail "a screen reader reads no '$line' in: $(cat "$work/accessible")"
done

click 36 232 # Open ROM
wait_for "the open dialog" have_open_dialog
xdotool windowfocus --sync "$(open_dialog)" key Escape
wait_for "the open dialog to close" dialog_gone
exited && fail "the program ended when the dialog was cancelled"
box_gone || fail "a box came up after the dialog was cancelled"
[ "$(cry_byte "$image")" = 6 ] || fail "the cry byte is $(cry_byte "$image") after a cancelled Open"

click 216 148 # Play
wait_for "the box saying there is no sound" have_box
dismiss_box

# Charizard is still selected: Save writes 6 again.
set_cry "$image" 0
click 120 232 # Save ROM
wait_for "the box of the save" have_box
[ "$(cry_byte "$image")" = 6 ] || fail "Save wrote $(cry_byte "$image"), not 6"
dismiss_box

python3 "$here/close_window.py" "$main"
wait_for "the program to end" exited
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "the program ended with status $status: $(cat "$work/vantrel.log")"
echo "smoke: window up with its title and size, image opened at start, open dialog"
echo "smoke: cancelled with nothing changed, Play's box without sound, species saved,"
echo "smoke: window closed"
