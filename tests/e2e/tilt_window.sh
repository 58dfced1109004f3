#!/usr/bin/env bash
# Tilt scrolling by the running window: a tilt of the simulated mouse scrolls the X window under
# the pointer sideways, with horizontal wheel button 6 for a left tilt and 7 for a right one.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
home_references "$ZENTRIK"

"$ZENTRIK" --simulate & app=$!
await_window "$TITLE" 20 "no window"
wait_for 20 home || fail "the window did not load the simulated mouse"

# A window below the program's, with the pointer over it, that logs the buttons it gets.
start_tilt_target
sleep 0.5

"$ZENTRIKCTL" --simulate event 0 tilt -1 || fail "zentrikctl event tilt -1 failed"
wait_for 5 got_button 6 || fail "a left tilt did not send button 6 to the window under the pointer"
got_button 7 && fail "a left tilt also sent button 7"
"$ZENTRIKCTL" --simulate event 0 tilt 1 || fail "zentrikctl event tilt 1 failed"
wait_for 5 got_button 7 || fail "a right tilt did not send button 7"
kill $target $app
wait $app || true
echo "tilt_window: all checks passed"
