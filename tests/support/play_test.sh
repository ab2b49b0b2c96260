#!/usr/bin/env bash
# Plays a cry with the window program as a user would, heard for real: the
# image opened from the command line, its box dismissed, Tab to Play and
# Space. The program plays into a private PulseAudio server's sink
# (Vantrel.exe through Wine's PulseAudio driver), whose monitor is recorded
# and must hold the whole cry and nothing after. The Linux window gets a
# second Space while the cry sounds, and the recording must hold its start
# cut off there; under Wine, PlaySound's stop of the cry playing is Wine's
# own and not what Windows does, so it is pressed once.
# Needs DISPLAY, and for wine a booted WINEPREFIX; scripts/test gives both.
# Usage: play_test.sh native|wine PROGRAM
set -euo pipefail
how=$1
program=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/smoke.sh"

server=
recorder=
stop_sound() {
  [ -n "$recorder" ] && kill -INT "$recorder" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  cleanup
}
trap stop_sound EXIT

# norewinds: a null sink that rewinds drops the first milliseconds it was
# given when a stream starts.
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
python3 "$here/cry_wave.py" put "$image"

# Low latency, and SIGINT to end it: otherwise parec hands back silence.
parec -d vantrel_test.monitor --raw --format=s16le --rate=10512 --channels=1 \
  --latency-msec=20 >"$work/recording.raw" 2>"$work/parec.log" &
recorder=$!

if [ "$how" = wine ]; then
  wine "$program" "$(winepath -w "$image")" </dev/null >"$work/program.log" 2>&1 &
else
  "$program" "$image" </dev/null >"$work/program.log" 2>&1 &
fi
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
plays=1
if [ "$how" = native ]; then
  sleep 0.4
  xdotool key space
  plays=2
fi
sleep 2
box_gone || fail "a box came up: no sound output? $(cat "$work/program.log")"
kill -INT "$recorder"
wait "$recorder" || true
recorder=
python3 "$here/cry_wave.py" match "$work/recording.raw" "$plays"
echo "play: the cry played $plays time(s), the last whole"
