#!/usr/bin/env bash
# Tilt scrolling by the running window: a tilt of the simulated mouse scrolls the X window under
# the pointer sideways, with horizontal wheel button 6 for a left tilt and 7 for a right one.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
work=$(mktemp -d)
start_xvfb
trap 'kill $XVFB_PID 2>/dev/null || true; rm -rf "$work" "$E2E_HOME"' EXIT
reference "$ZENTRIK" 5 "$work"
reference "$ZENTRIK" 99 "$work"

"$ZENTRIK" --simulate & app=$!
wait_for 20 window_visible "$TITLE" || fail "no window"
wid=$(xdotool search --onlyvisible --name "$TITLE" | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
WX=$X; WY=$Y
home() { import -window root "$work/shot.png" && looks_like 5 99 "$work" "$work/shot.png"; }
wait_for 20 home || fail "the window did not load the simulated mouse"

# A window below the program's, with the pointer over it, that logs the buttons it gets.
xev -geometry 400x60+20+735 -name "tilt target" -event button >"$work/xev.log" &
target=$!
wait_for 10 window_visible "tilt target" || fail "no target window"
xdotool mousemove 200 765
sleep 0.5

got_button() { grep -q "button $1," "$work/xev.log"; }
"$ZENTRIKCTL" --simulate event 0 tilt -1 || fail "zentrikctl event tilt -1 failed"
wait_for 5 got_button 6 || fail "a left tilt did not send button 6 to the window under the pointer"
got_button 7 && fail "a left tilt also sent button 7"
"$ZENTRIKCTL" --simulate event 0 tilt 1 || fail "zentrikctl event tilt 1 failed"
wait_for 5 got_button 7 || fail "a right tilt did not send button 7"
kill $target $app
wait $app || true
echo "tilt_window: all checks passed"
