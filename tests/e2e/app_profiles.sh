#!/usr/bin/env bash
# Per-program profiles under a real window manager: focusing a program that has a rule sets
# its profile on the (hidden) program's mouse, and focusing another brings the default back.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
start_xvfb
openbox >/dev/null 2>&1 & wm=$!
trap 'kill $wm $XVFB_PID 2>/dev/null || true; rm -rf "$E2E_HOME"' EXIT

"$ZENTRIKCTL" app-profile add zk-alpha 3 || fail "app-profile add failed"
"$ZENTRIKCTL" app-profile default 1 || fail "app-profile default failed"
"$ZENTRIKCTL" --json app-profile list | jq -e '.rules == [{"class": "zk-alpha", "profile": 3}] and .default == 1' >/dev/null \
  || fail "app-profile list does not show the rules: $("$ZENTRIKCTL" --json app-profile list)"
"$ZENTRIKCTL" app-profile add "two words" 3 2>/dev/null && fail "a class with a blank was taken"
"$ZENTRIKCTL" app-profile add zk-alpha 5 2>/dev/null && fail "profile 5 was taken"

# Two windows whose WM_CLASS names the programs.
window() {  # NAME: an xev window of class NAME
  xev -name "$1" -geometry 300x100 >/dev/null &
  wait_for 10 window_visible "$1" || fail "no window $1"
  xdotool set_window --class "$1" --classname "$1" "$(xdotool search --name "$1" | head -1)"
}
window zk-alpha
window zk-beta

"$ZENTRIK" --simulate /hide & app=$!
profile() { "$ZENTRIKCTL" --simulate --json settings | jq -e ".profile == $1" >/dev/null; }
focus() { xdotool windowactivate "$(xdotool search --name "$1" | head -1)" 2>/dev/null; }
# The window manager may be slow to hand over the focus on a loaded machine: ask again until the
# mouse holds the profile (focusing the window that has the focus changes nothing).
on_profile() { focus "$1"; sleep 0.5; profile "$2"; }  # WINDOW PROFILE
# The mouse is ready once the program has loaded it; a focus change before that changes nothing.
ruled() { focus zk-beta; sleep 0.5; focus zk-alpha; sleep 1; profile 3; }
wait_for 40 ruled || fail "focusing zk-alpha did not choose profile 3"
wait_for 15 on_profile zk-beta 1 || fail "focusing a program without a rule did not bring the default back"

# The user's own choice holds while the focus stays.
"$ZENTRIKCTL" --simulate profile 4 || fail "zentrikctl profile failed"
sleep 1.5
profile 4 || fail "the program overrode a profile chosen while the focus stayed"

# A rule added while the program runs is read again.
"$ZENTRIKCTL" app-profile add zk-beta 2
sleep 0.5
wait_for 15 on_profile zk-alpha 3 || fail "focusing zk-alpha again did not choose profile 3"
wait_for 15 on_profile zk-beta 2 || fail "a rule added while running was not used"

close_program 10
echo "app profiles: all checks passed"
