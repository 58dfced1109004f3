#!/usr/bin/env bash
# Two running programs (another ZENTRIK_INSTANCE each) hear every tilt of the mouse, but only one
# scrolls: a tilt sends button 6 once. When the one that scrolls ends, the other takes over.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
work=$(mktemp -d)
start_xvfb
first=
second=
trap 'kill $XVFB_PID $first $second 2>/dev/null || true; rm -rf "$work" "$E2E_HOME"' EXIT
reference "$ZENTRIK" 5 "$work"
reference "$ZENTRIK" 99 "$work"

xev -geometry 400x60+20+735 -name "tilt target" -event button >"$work/xev.log" &
wait_for 10 window_visible "tilt target" || fail "no target window"
xdotool mousemove 200 765
presses() { grep -c "^ButtonPress" "$work/xev.log" || true; }
pressed() { (( $(presses) >= $1 )); }
tilt() { "$ZENTRIKCTL" --simulate event 0 tilt -1 || fail "zentrikctl event tilt failed"; }

# The hidden program scrolls alone first, so it is surely following the mouse.
ZENTRIK_INSTANCE=$ZENTRIK_INSTANCE-hidden "$ZENTRIK" --simulate /hide & second=$!
wait_for 30 eval 'tilt; pressed 1' || fail "the hidden program did not scroll on a tilt"
# Then the window; once it shows the loaded mouse it follows the tilts as well.
"$ZENTRIK" --simulate & first=$!
wait_for 20 window_visible "$TITLE" || fail "no window"
wid=$(xdotool search --onlyvisible --name "$TITLE" | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
WX=$X; WY=$Y
home() { import -window root "$work/shot.png" && looks_like 5 99 "$work" "$work/shot.png"; }
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
