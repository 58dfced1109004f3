#!/usr/bin/env bash
# Two running programs (another ZENTRIK_INSTANCE each) hear every tilt of the mouse, but only one
# scrolls: a tilt sends button 6 once. When the one that scrolls ends, the other takes over.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
first=
second=
trap 'kill $XVFB_PID $first $second 2>/dev/null || true; rm -rf "$E2E_HOME"' EXIT
home_references "$ZENTRIK"

start_tilt_target
presses() { grep -c "^ButtonPress" "$work/xev.log" || true; }
pressed() { (( $(presses) >= $1 )); }
tilt() { "$ZENTRIKCTL" --simulate event 0 tilt -1 || fail "zentrikctl event tilt failed"; }

# The hidden program scrolls alone first, so it is surely following the mouse.
ZENTRIK_INSTANCE=$ZENTRIK_INSTANCE-hidden "$ZENTRIK" --simulate /hide & second=$!
wait_for 30 eval 'tilt; pressed 1' || fail "the hidden program did not scroll on a tilt"
# Then the window; once it shows the loaded mouse it follows the tilts as well.
"$ZENTRIK" --simulate & first=$!
await_window "$TITLE" 20 "no window"
wait_for 20 home || fail "the window did not load the simulated mouse"
xdotool mousemove 200 765
sleep 0.5

before=$(presses)
tilt
wait_for 5 pressed $((before + 1)) || fail "no program scrolled on a tilt"
sleep 1  # a second program's step would come now
(( $(presses) == before + 1 )) || fail "one tilt scrolled $(( $(presses) - before )) times"

# The hidden one ends: the window's program takes over.
kill $second; wait $second || true; second=
before=$(presses)
tilt
wait_for 5 pressed $((before + 1)) || fail "the remaining program did not take over"
echo "tilt_two_instances: all checks passed"
