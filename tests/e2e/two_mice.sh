#!/usr/bin/env bash
# Two simulated mice: the window chooses the first; the home page's "Mice" button leads back to
# the device list, where the second is chosen and configured (its DPI X slider dragged). After
# the store-settings delay the program ends, and zentrikctl finds the change in the second mouse
# only.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb

level_x() {  # DEVICE: the X resolution of its current DPI level
  local json level
  json=$("$ZENTRIKCTL" --simulate --device="$1" settings --json) || return 1
  level=$(jq -r ".dpi.level" <<<"$json")
  jq -r ".dpi.levels[$level].x" <<<"$json"
}
device_page_shown() {  # the second device row is drawn where the home page has none
  import -window root "$E2E_HOME/shot.png" &&
    [[ "$(pixel "$E2E_HOME/shot.png" $((WX + 60)) $((WY + 196)))" != \
       "$(pixel "$E2E_HOME/home.png" $((WX + 60)) $((WY + 196)))" ]]
}

"$ZENTRIK" --simulate=mice=2 & app=$!
await_window "$TITLE" 20 "no window"
sleep 4  # listing and loading the first mouse
first_before=$(level_x 0) || fail "zentrikctl --device=0 settings failed"
second_before=$(level_x 1) || fail "zentrikctl --device=1 settings failed"
import -window root "$E2E_HOME/home.png"

click 855 560                 # "Mice" on the home page: back to the device list
wait_for 10 device_page_shown || fail "the home page's Mice button did not show the device list"
click 400 196                 # the second mouse's row: chosen, loaded, the home page again
sleep 3
click 223 458                 # the DPI category on the home page
click 104 458                 # (the DPI tab, should the category have missed)
xdotool mousemove $((WX + 565)) $((WY + 322)) mousedown 1
for i in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((WX + 565 + 100 * i / 8)) $((WY + 322)); sleep 0.05
done
sleep 0.2; xdotool mouseup 1
sleep 3                       # the store-settings timer (2 s after the last write)

close_program 15

second_after=$(level_x 1) || fail "zentrikctl --device=1 settings failed"
first_after=$(level_x 0) || fail "zentrikctl --device=0 settings failed"
(( second_after > second_before )) ||
  fail "the second mouse's X resolution is $second_after, was $second_before: not configured"
[[ "$first_after" == "$first_before" ]] ||
  fail "the first mouse changed too ($first_before -> $first_after)"
echo "two mice: all checks passed"
