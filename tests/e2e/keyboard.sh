#!/usr/bin/env bash
# The keyboard in the live window: Ctrl+3 shows the DPI page, a click on the X spin box's arrow
# gives it the focus, a number typed there and Enter set the resolution (a digit then Escape
# changes nothing); Tab and Shift+Tab come back to it and Up raises it one step. zentrikctl must
# find the result in the simulated mouse.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb

"$ZENTRIK" --simulate & app=$!
await_window "$TITLE" 20 "no window"
sleep 4  # listing and loading the mouse
xdotool windowfocus --sync "$wid"

xdotool key ctrl+3; sleep 0.5
xdotool mousemove $((WX + 876)) $((WY + 318)) click 1 mousemove $((WX + 1000)) $((WY + 620))
sleep 0.5
xdotool key 9 Escape; sleep 0.3
xdotool key 2 4 5 0 Return; sleep 0.5     # whole steps of 100: 2400
xdotool key Tab shift+Tab Up; sleep 0.5   # back on the spin box: 2500
sleep 3  # the store-settings timer (2 s after the last write)

close_program 15
wait $app || fail "the program exited with $?"
json=$("$ZENTRIKCTL" --simulate settings --json) || fail "zentrikctl settings failed"
x=$(jq ".dpi.levels[.dpi.level].x" <<<"$json")
[[ "$x" == 2500 ]] || fail "the mouse holds X $x DPI, not 2500"
echo "keyboard: all checks passed"
