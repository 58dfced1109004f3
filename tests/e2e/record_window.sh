#!/usr/bin/env bash
# Recording in the live window: the record icon starts a recording of what xdotool types, the
# stop icon ends it, and the steps fill the macro editor; a capture tool inserts one key step.
# The editor's rows are found by the selection highlight, which moves to each added row.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
TITLE="Zentrik Mouse"
start_xvfb

"$ZENTRIK" --simulate --page 1 & app=$!
await_window "$TITLE" 30 "no window"
sleep 1

# Window points: the tool icons' centres, and a point inside editor row N (the mode row is 0).
TOOL_X=451
REC_Y=489 STOP_Y=525 KEYDOWN_TOOL_Y=163
ROW_X=783
row_y() { echo $((176 + 34 * $1)); }
click_at() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep 0.5; }
# "r g b" of window point (x, y) now.
pixel_now() {
  import -window root "$work/shot.png"
  pixel "$work/shot.png" $((WX + $1)) $((WY + $2))
}

empty_row7=$(pixel_now $ROW_X "$(row_y 7)")
empty_row8=$(pixel_now $ROW_X "$(row_y 8)")

click_at $TOOL_X $REC_Y
# The recorder connects to the display when the recording starts: give a slow (sanitized,
# loaded) build time to listen before the first key.
sleep 1
xdotool type --delay 300 ab  # A down, wait, A up, wait, B down, wait, B up: rows 1-7
sleep 0.3
xdotool mousemove $((WX + TOOL_X)) $((WY + STOP_Y)); sleep 0.3; xdotool click 1; sleep 0.5
row7_selected() {
  d=$(distance "$empty_row7" "$(pixel_now $ROW_X "$(row_y 7)")")
  (( d > 40 ))
}
wait_for 10 row7_selected || fail "the recording did not select a seventh row (distance $d)"
d=$(distance "$empty_row8" "$(pixel_now $ROW_X "$(row_y 8)")")
(( d <= 40 )) || fail "the recording added more than seven rows (the stop click?)"

# Capture one key press: a row after the selected one.
click_at $TOOL_X $KEYDOWN_TOOL_Y
xdotool key shift
sleep 0.5
d=$(distance "$empty_row8" "$(pixel_now $ROW_X "$(row_y 8)")")
(( d > 40 )) || fail "the key-press capture added no row (distance $d)"

kill $app
wait $app || true
echo "record_window: all checks passed"
