#!/usr/bin/env bash
# The running window follows what zentrikctl changes on its mouse. A macro written from the
# command line is not overwritten by a macro stored in the window afterwards. A profile name, a
# button's function and a DPI level changed from the command line show in the running window
# within a few seconds: its button and DPI pages then look exactly as those of a window started
# afresh on the same mouse (and differ from what the window showed before the changes).
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
ctl() { "$ZENTRIKCTL" --simulate "$@"; }

# The window's picture (pointer parked outside it) as FILE.
window_shot() {
  xdotool mousemove $((WX + WIDTH + 20)) $((WY + HEIGHT + 20))
  sleep 0.3
  import -window root -crop "${WIDTH}x${HEIGHT}+${WX}+${WY}" +repage "$1"
}
# How many pixels of two pictures differ.
start_window() {
  "$ZENTRIK" --simulate & app=$!
  await_window "$TITLE" 20 "no window"
  sleep 4  # listing and loading the mouse
}
# PAGE_TAB_Y NAME: shows a page by its tab and takes its picture as $work/NAME.png.
page_shot() { click 104 "$1"; window_shot "$work/$2.png"; }
# Waits until the page of tab Y no longer looks like BEFORE; its picture is then $work/NAME.png.
changes_within() {  # SECONDS Y BEFORE NAME
  local deadline=$((SECONDS + $1))
  while (( SECONDS < deadline )); do
    window_shot "$work/$4.png"
    same_picture "$work/$3.png" "$work/$4.png" || return 0
    sleep 0.3
  done
  return 1
}

start_window
click 223 178  # the button category on the home page
page_shot 178 buttons_before
page_shot 458 dpi_before

# A macro from the command line, then one stored in the window into the next empty row.
"$ZENTRIKCTL" macro build "$work/m.mf" 04 83 04 84 04 83 05 84 05 83 06 84 06 83 07 84 07 \
  >/dev/null || fail "macro build"
ctl macros write 5 "$work/m.mf" --yes || fail "zentrikctl macros write failed"
click 104 318                 # the macro tab
drag 456 126 728 228          # the wait tool onto the editor: the value editor opens
xdotool type 250
xdotool key Return
sleep 0.5
drag 728 176 303 212          # the editor onto the row under the command line's macro
sleep 2
macros=$(ctl macros --json) || fail "zentrikctl macros failed"
jq -e '[.macros[] | select(.slot == 5 and .code == "04 83 04 84 04 83 05 84 05 83 06 84 06 83 07 84 07")] | length == 1' \
  <<<"$macros" >/dev/null || fail "the command line's macro was damaged: $macros"
jq -e '[.macros[] | select(.code == "04 88 fa")] | length == 1' <<<"$macros" >/dev/null ||
  fail "the window's macro was not stored: $macros"
jq -e '[.macros[] | [.start, .end]] | sort | . as $m
       | all(range(1; length); $m[.][0] > $m[. - 1][1])' <<<"$macros" >/dev/null ||
  fail "the macros' ranges overlap: $macros"

# A profile name, a button and the current DPI level from the command line.
level=$(ctl settings --json | jq -r .dpi.level) || fail "zentrikctl settings failed"
ctl name 0 Work || fail "zentrikctl name failed"
ctl button 0 4 Copy || fail "zentrikctl button failed"
ctl dpi "$level" 3000 2500 || fail "zentrikctl dpi failed"
click 104 178
changes_within 5 178 buttons_before buttons_after ||
  fail "the name and button from the command line did not show within 5 s"
sleep 1
page_shot 178 buttons_after
page_shot 458 dpi_after
same_picture "$work/dpi_before.png" "$work/dpi_after.png" &&
  fail "the DPI level from the command line did not show"
close_program 15

# A window started afresh on the same mouse shows the same pages.
start_window
click 223 178
page_shot 178 buttons_fresh
page_shot 458 dpi_fresh
close_program 15
same_picture "$work/buttons_after.png" "$work/buttons_fresh.png" ||
  fail "the followed button page differs from a fresh window's in $(differing "$work/buttons_after.png" "$work/buttons_fresh.png") pixels"
same_picture "$work/dpi_after.png" "$work/dpi_fresh.png" ||
  fail "the followed DPI page differs from a fresh window's in $(differing "$work/dpi_after.png" "$work/dpi_fresh.png") pixels"
echo "follow cli changes: all checks passed"
