#!/usr/bin/env bash
# A person configures the mouse in the window: drags the Cut function onto the Backward button,
# drags the DPI X slider, builds a macro in the editor (wait tool dropped, 250 typed), drags it
# onto an empty slot, shows the macro library and drags its "Double click" entry onto the next
# slot, then drags the first stored macro (by name, the library's) onto a button label. After
# the store-settings delay the program ends, and zentrikctl finds every change in the
# simulated mouse.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb

settings_json() { "$ZENTRIKCTL" --simulate settings --json; }
loaded() { [[ -n "$(xdotool search --onlyvisible --name "$TITLE")" ]] && settings_json >/dev/null; }

"$ZENTRIK" --simulate & app=$!
await_window "$TITLE" 20 "no window"
sleep 4  # listing and loading the mouse

click 223 178                 # the button category on the home page
drag 223 499 530 325          # "Cut" from the function list onto the Backward label
click 104 458                 # the DPI tab
drag 565 322 665 322          # the X slider of the current level, 100 pixels to the right
click 104 318                 # the macro tab
drag 456 126 728 228          # the wait tool onto the editor: the value editor opens
xdotool type 250
xdotool key Return
sleep 0.5
drag 728 176 303 178          # the editor onto the first (empty) slot
sleep 1
click 903 569                 # "macro library": the library shows under the editor
drag 600 396 303 212          # its "Double click" entry onto the second (empty) slot
sleep 1
click 104 178                 # the button tab
click 303 226                 # fold the built-in functions: the stored macro shows below
drag 243 295 530 391          # the first macro by name ("Double click") onto "Zentrik Button 2"
sleep 3                       # the store-settings timer (2 s after the last write)

close_program 15

json=$(settings_json) || fail "zentrikctl settings failed"
backward=$(jq -r '.profiles[0].buttons[4].function' <<<"$json")
[[ "$backward" == "Cut" ]] || fail "the Backward button does '$backward', not Cut"
level=$(jq -r ".dpi.level" <<<"$json")
x=$(jq -r ".dpi.levels[$level].x" <<<"$json")
(( x > 800 )) || fail "the X resolution of level $level is $x, not above 800"
macros=$("$ZENTRIKCTL" --simulate macros --json) || fail "zentrikctl macros failed"
code=$(jq -r '.macros[0].code' <<<"$macros")
[[ "$code" == "04 88 fa" ]] || fail "the stored macro is '$code', not 04 88 fa"
library_code="04 21 88 14 41 88 32 21 88 14 41"
jq -e --arg c "$library_code" '[.macros[] | select(.code == $c)] | length == 1' <<<"$macros" \
  >/dev/null || fail "the library's Double click is not in the mouse: $macros"
# The library's macro is stored under its title, which sorts it first in the function list.
jq -e --arg c "$library_code" '[.macros[] | select(.name == "Double click" and .code == $c)]
  | length == 1' <<<"$macros" >/dev/null ||
  fail "the library's macro is not stored under its title: $macros"
assigned=$(jq -r '.profiles[0].buttons[6].function' <<<"$json")
[[ "$assigned" == "Double click" ]] ||
  fail "Zentrik Button 2 does '$assigned', not the stored macro 'Double click'"
echo "configure in window: all checks passed"
