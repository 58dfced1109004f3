#!/usr/bin/env bash
# A hidden start (as at login) follows the mouse without ever being shown: a tilt scrolls the
# window under the pointer sideways, and a profile chosen on the mouse meanwhile is the one the
# window shows when it is opened later. "/hide /showtip" stays hidden.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
work=$(mktemp -d)
start_xvfb
trap 'kill $XVFB_PID 2>/dev/null || true; rm -rf "$work" "$E2E_HOME"' EXIT
reference "$ZENTRIK" 5 "$work"
reference "$ZENTRIK" 99 "$work"

# A window that logs the buttons it gets, with the pointer over it.
xev -geometry 400x60+20+735 -name "tilt target" -event button >"$work/xev.log" &
target=$!
wait_for 10 window_visible "tilt target" || fail "no target window"
xdotool mousemove 200 765

"$ZENTRIK" --simulate /hide & app=$!
got_button() { grep -q "button $1," "$work/xev.log"; }
# The mouse is followed once it is selected and tagged; until then a tilt goes nowhere.
tilted_left() {
  "$ZENTRIKCTL" --simulate event 0 tilt -3 >/dev/null || return 1
  sleep 0.3
  got_button 6
}
wait_for 30 tilted_left || fail "a tilt of the mouse did not scroll while the window was hidden"
"$ZENTRIKCTL" --simulate event 0 tilt 3 || fail "zentrikctl event tilt 3 failed"
wait_for 5 got_button 7 || fail "a right tilt did not send button 7 while hidden"
window_visible "$TITLE" && fail "a /hide start showed the window"
"$ZENTRIKCTL" --simulate event 0 profile 2 || fail "zentrikctl event profile failed"
sleep 1
window_visible "$TITLE" && fail "the window showed itself"
kill $target

# A second start brings the window forward, on the home page of the loaded mouse.
"$ZENTRIK" || fail "a second start exited with $?"
wait_for 10 window_visible "$TITLE" || fail "a second start did not show the hidden window"
wid=$(xdotool search --onlyvisible --name "$TITLE" | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
WX=$X; WY=$Y
shot() { import -window root "$work/shot.png"; }
home() { shot && looks_like 5 99 "$work" "$work/shot.png"; }
wait_for 20 home || fail "the shown window is not on the home page"
# The button page shows profile 3 (the mouse's profile 2) as checked.
open_button_page
wait_for 10 profile3_checked "$work" || fail "the window does not show the profile chosen while hidden"

"$ZENTRIK" /close
wait_for 10 process_gone $app || fail "/close did not end the program"

# "/showtip" adds a notice, never the window.
"$ZENTRIK" --simulate /hide /showtip & app=$!
sleep 3
window_visible "$TITLE" && fail "a /hide /showtip start showed the window"
"$ZENTRIK" /close
wait_for 10 process_gone $app || fail "/close did not end the /showtip start"
echo "hidden start: all checks passed"
