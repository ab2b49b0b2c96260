#!/usr/bin/env bash
# Drives Vantrel.exe under Wine on an X display, as a user would: --version
# answers in a box of its own and no window; then the window appears at its
# size, the box of an image opened from the command line is
# dismissed, Tab, Down and Space pick the next species and save it, the
# saved byte is checked and its box dismissed; then a second image is opened
# through the open dialog and saved the same way, and Alt+F4 ends the program.
# Needs DISPLAY and a booted WINEPREFIX; scripts/test provides both.
# Usage: smoke_test.sh VANTREL_EXE SCREENSHOT_PNG
set -euo pipefail
program=$1
screenshot=$2
source "$(dirname "$0")/../../support/smoke.sh"

main_window() {
  for window in $(titled_vantrel); do
    if ! owned "$window"; then
      echo "$window"
      return
    fi
  done
}
have_main() { [ -n "$(main_window)" ]; }
have_titled() { [ -n "$(titled_vantrel)" ]; }

# A window program has no console: the version comes in a box titled
# Vantrel, the only window, and the program ends when it is dismissed.
wine "$program" --version </dev/null >"$work/version.log" 2>&1 &
pid=$!
wait_for "the version box" have_titled
[ "$(titled_vantrel | wc -l)" = 1 ] || fail "--version showed more than its box"
version_box=$(titled_vantrel)
geometry=$(xdotool getwindowgeometry "$version_box" | sed -n 's/^ *Geometry: //p')
[ "$geometry" != 383x275 ] || fail "--version showed the main window"
xdotool windowfocus --sync "$version_box" key Return
wait_for "the program to end after its version box" exited
wait "$pid" || fail "--version ended with status $?"
pid=

# Opened from the command line with cry 6, Charizard; Down in the list
# picks 7, Squirtle. The second is opened through the open dialog with
# cry 25, Pikachu; Down picks 26, Raichu.
image="$work/fire red.gba"
second="$work/second.gba"
make_image "$image" 6
make_image "$second" 25

wine "$program" "$(winepath -w "$image")" </dev/null >"$work/wine.log" 2>&1 &
pid=$!

wait_for "the window titled Vantrel" have_main
main=$(main_window)
geometry=$(xdotool getwindowgeometry "$main" | sed -n 's/^ *Geometry: //p')
[ "$geometry" = 383x275 ] || fail "client area is $geometry, not 383x275"

wait_for "the box of the image opened at start" have_box
dismiss_box
import -window "$main" "$screenshot"

xdotool windowfocus --sync "$main"
xdotool key --delay 150 Tab Tab Down shift+Tab space
wait_for "the box of the save" have_box
[ "$(cry_byte "$image")" = 7 ] || fail "the cry byte is $(cry_byte "$image") after Save, not 7"
dismiss_box

# Open ROM, from Save where the focus was, shows the system's open dialog;
# its name field takes the typed path.
xdotool windowfocus --sync "$main"
xdotool key --delay 150 shift+Tab space
wait_for "the open dialog" have_open_dialog
xdotool windowfocus --sync "$(open_dialog)"
xdotool type --delay 20 "$(winepath -w "$second")"
xdotool key Return
wait_for "the box of the second image opened" have_box
dismiss_box
xdotool windowfocus --sync "$main"
xdotool key --delay 150 Tab Tab Down shift+Tab space
wait_for "the box of the second save" have_box
[ "$(cry_byte "$second")" = 26 ] || fail "the second image's cry is $(cry_byte "$second"), not 26"
[ "$(cry_byte "$image")" = 7 ] || fail "the first image changed after the second was opened"
dismiss_box

xdotool windowfocus --sync "$main" key alt+F4
wait_for "the program to end" exited
wait "$pid" || fail "the program ended with status $?"
pid=
echo "smoke: window shown, species 7 saved, second image opened through the dialog and"
echo "smoke: species 26 saved in it, boxes dismissed, program closed"
