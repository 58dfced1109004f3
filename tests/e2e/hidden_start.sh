#!/usr/bin/env bash
# A hidden start (as at login) follows the mouse without ever being shown: a tilt scrolls the
# window under the pointer sideways, and a profile chosen on the mouse meanwhile is the one the
# window shows when it is opened later. "/hide /showtip" stays hidden.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
home_references "$ZENTRIK"

# A window that logs the buttons it gets, with the pointer over it.
start_tilt_target

"$ZENTRIK" --simulate /hide & app=$!
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
await_window "$TITLE" 10 "a second start did not show the hidden window"
wait_for 20 home || fail "the shown window is not on the home page"
# The button page shows profile 3 (the mouse's profile 2) as checked.
open_button_page
wait_for 10 profile3_checked "$work" || fail "the window does not show the profile chosen while hidden"

close_program 10

# "/showtip" adds a notice, never the window.
"$ZENTRIK" --simulate /hide /showtip & app=$!
sleep 3
window_visible "$TITLE" && fail "a /hide /showtip start showed the window"
close_program 10 "/close did not end the /showtip start"
echo "hidden start: all checks passed"
