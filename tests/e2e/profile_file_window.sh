#!/usr/bin/env bash
# A person right-clicks profile 2's tab, exports it into a file named in the save dialog, then
# right-clicks profile 4's tab and imports an edited copy through the open dialog: the file is
# what zentrikctl exports, and the simulated mouse's profile 4 is the edited profile.
source "$(dirname "$0")/lib.sh"
export GSETTINGS_BACKEND=memory  # the file chooser keeps its settings for this run only
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
ctl() { "$ZENTRIKCTL" --simulate "$@"; }

ctl button 1 2 copy >/dev/null && ctl name 1 Game >/dev/null || fail "preparing the mouse failed"
ctl profile-file export 1 "$work/expected.json" || fail "zentrikctl profile-file export failed"

# GTK's file chooser reads folders on GIO's worker pool, which hands its data to the main loop
# through glib's futex locks that ThreadSanitizer cannot see: it ignores what the uninstrumented
# libraries themselves touch (an AddressSanitizer build ignores the variable).
TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}ignore_noninstrumented_modules=1" \
  "$ZENTRIK" --simulate & app=$!
await_window "$TITLE" 20 "no window"
main=$wid
sleep 4  # listing and loading the mouse
open_button_page
wait_for 5 profile1_checked "$work" || fail "the button page did not show"

source "$(dirname "$0")/dialogs.sh"
dialog_gone() { ! xdotool search --onlyvisible --pid "$app" | grep -qv "^$main\$"; }
tab() { xdotool mousemove $((WX + 204 + 142 * $1 + 70)) $((WY + 148)) click 3; }

tab 1
use_dialog "the profile's choice"
xdotool key Return               # the default: Export profile...
wait_for 10 dialog_gone || true
use_dialog "the save dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$work/exported.json"
xdotool key Return
wait_for 15 test -s "$work/exported.json" || fail "no file was exported"
cmp -s "$work/exported.json" "$work/expected.json" ||
  fail "the window's export differs from zentrikctl's: $(diff "$work/exported.json" "$work/expected.json")"

sed 's/"Copy"/"Paste"/' "$work/exported.json" >"$work/edited.json"
wait_for 10 dialog_gone || fail "a dialog stayed open"
sleep 1
tab 3
use_dialog "the profile's choice"
xdotool key Tab space            # the second button: Import profile...
wait_for 10 dialog_gone || true
use_dialog "the open dialog"
xdotool key ctrl+l
xdotool type --delay 20 "$work/edited.json"
sleep 1
xdotool key Return
# A first Return may only take the location entry's completion.
wait_for 3 dialog_gone || xdotool key Return
imported() { [[ "$(ctl settings --json | jq -r '.profiles[3].name')" == "Game" ]]; }
wait_for 20 imported || fail "profile 4 was not imported"
json=$(ctl settings --json)
[[ "$(jq -r '.profiles[3].buttons[2].function' <<<"$json")" == "Paste" ]] ||
  fail "profile 4's wheel click is not Paste: $(jq -c '.profiles[3]' <<<"$json")"

close_program 15
echo "profile file in window: all checks passed"
