#!/usr/bin/env bash
# Plays a cry with Vantrel.exe under Wine, as a user would: the image opened
# from the command line, its box dismissed, Tab to Play and Space. Wine's
# PulseAudio driver plays it into a private PulseAudio server's sink, whose
# monitor is recorded and must hold the cry.
# Needs DISPLAY and a booted WINEPREFIX; scripts/test provides both.
# Usage: play_sound_test.sh VANTREL_EXE
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../support/smoke.sh"

server=
recorder=
stop_sound() {
  [ -n "$recorder" ] && kill -INT "$recorder" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  cleanup
}
trap stop_sound EXIT

sound="$work/sound"
mkdir -p "$sound"
XDG_RUNTIME_DIR=$sound PULSE_RUNTIME_PATH=$sound HOME=$sound pulseaudio -n --daemonize=no \
  --exit-idle-time=-1 --use-pid-file=no --load="module-null-sink norewinds=1 sink_name=vantrel_test" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$sound/native" >"$sound/log" 2>&1 &
server=$!
export PULSE_SERVER="unix:$sound/native"
answers() { pactl info >/dev/null 2>&1; }
wait_for "the private sound server" answers

image="$work/cry.gba"
make_image "$image" 6
python3 "$here/../../support/cry_wave.py" put "$image"

# Low latency, and SIGINT to end it: otherwise parec hands back silence.
parec -d vantrel_test.monitor --raw --format=s16le --rate=44100 --channels=1 \
  --latency-msec=20 >"$work/recording.raw" 2>"$work/parec.log" &
recorder=$!

wine "$program" "$(winepath -w "$image")" </dev/null >"$work/wine.log" 2>&1 &
pid=$!
main_window() {
  for window in $(titled_vantrel); do
    owned "$window" || { echo "$window"; return; }
  done
}
have_main() { [ -n "$(main_window)" ]; }
wait_for "the window" have_main
wait_for "the box of the image opened at start" have_box
dismiss_box
xdotool windowfocus --sync "$(main_window)"
xdotool key --delay 150 Tab Tab Tab space
sleep 2
box_gone || fail "a box came up: no sound output under Wine? $(cat "$work/wine.log")"
kill -INT "$recorder"
wait "$recorder" || true
recorder=
python3 "$here/../../support/cry_wave.py" match "$work/recording.raw"

xdotool windowfocus --sync "$(main_window)" key alt+F4
wait_for "the program to end" exited
wait "$pid" || fail "the program ended with status $?"
pid=
echo "play: the cry played through Wine's PulseAudio driver into the sink"
