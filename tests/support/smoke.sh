# Shared by the smoke tests that drive a window program on an X display:
# sourced after `set -euo pipefail`. Gives a work folder removed at the end,
# with the program started as $pid stopped if still running, and the helpers
# below.
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "smoke: $*" >&2
  exit 1
}

# Polls `command...` up to 30 s; each window gets its own bounded wait.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 150); do
    "$@" && return 0
    sleep 0.2
  done
  fail "timed out waiting for $what"
}

# Visible top-level windows titled "Vantrel": the main window has no owner,
# a message box is transient for it.
titled_vantrel() { xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null || true; }
owned() { xprop -id "$1" WM_TRANSIENT_FOR | grep -q 'window id'; }
box_window() {
  for window in $(titled_vantrel); do
    if owned "$window"; then
      echo "$window"
      return
    fi
  done
}
have_box() { [ -n "$(box_window)" ]; }
box_gone() { [ -z "$(box_window)" ]; }
exited() { ! kill -0 "$pid" 2>/dev/null; }

open_dialog() { xdotool search --onlyvisible --name '^Open Pokemon GBA ROM\.\.\.$' 2>/dev/null | head -n 1; }
have_open_dialog() { [ -n "$(open_dialog)" ]; }
dialog_gone() { [ -z "$(open_dialog)" ]; }

dismiss_box() {
  xdotool windowfocus --sync "$(box_window)" key Return
  wait_for "the box to close" box_gone
}

cry_byte() { od -An -tu1 -j $((0x791EE)) -N1 "$1" | tr -d ' '; }
set_cry() { printf "\\$(printf %03o "$2")" | dd of="$1" bs=1 seek=$((0x791EE)) conv=notrunc status=none; }
put() { printf "$2" | dd of="$1" bs=1 seek=$(($3)) conv=notrunc status=none; }
# make_image PATH CRY: zeros with a FireRed 1.0 header (game code BPRE, 0x96
# at 0xB2) and the title screen's code around the cry byte, which holds CRY;
# and the cry call's code with a cry table (both words at 0x08010000) whose
# entry for Charizard names a wave of the test's own: 16 samples at 10512 Hz
# at 0x20000.
make_image() {
  head -c $((0x80000)) /dev/zero >"$1"
  put "$1" 'BPRE' 0xAC
  put "$1" '\226' 0xB2
  put "$1" '\200\040\010\100\000\006\005\016\000\055\133\321' '0x791EE - 12'
  put "$1" '\040\000\041\370\367\375\375\040\173\000\360' '0x791EE + 1'
  set_cry "$1" "$2"
  put "$1" '\110\000\100\030\200\000\001\111\064\340\000\000' '0x72114 - 12'
  put "$1" '\113\106\000\053\006\320\110\000\100\030\200\000\000\111\051\340' '0x72114 + 4'
  put "$1" '\110\000\100\030\200\000\001\111\042\340\000\000' '0x72138 - 12'
  put "$1" '\000\000\001\010' 0x72114
  put "$1" '\000\000\001\010' 0x72138
  put "$1" '\000\074\000\000\000\000\002\010' '0x10000 + 12 * 5'
  put "$1" '\000\100\244\000' 0x20004
  put "$1" '\020' 0x2000C
  put "$1" '\000\040\100\040\000\340\300\340\000\040\100\040\000\340\300\340' 0x20010
}
