#!/usr/bin/env bash
# Two windows of one user on one mouse (each with its own ZENTRIK_INSTANCE): a profile renamed in
# one shows in the other, and a name changed by zentrikctl under a third instance name shows in
# both. The windows' profile tabs are compared with each other: the same before, and the same
# again after each change (while the follower's tabs no longer look as they did before).
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
first=$ZENTRIK_INSTANCE-first
second=$ZENTRIK_INSTANCE-second
trap 'kill $XVFB_PID ${a:-} ${b:-} 2>/dev/null || true; rm -rf "$E2E_HOME"' EXIT

# Starts a window as instance NAME and moves it to Y; its id is then in $wid.
start_window() {
  local before; before=$(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null | sort || true)
  ZENTRIK_INSTANCE=$1 "$ZENTRIK" --simulate &
  started=$!
  wait_for 20 new_window "$before" || fail "no window for $1"
  wid=$(xdotool search --onlyvisible --name "$TITLE" | sort | comm -13 <(echo "$before") -)
  xdotool windowmove "$wid" 0 "$2"
  sleep 4  # listing and loading the mouse
}
new_window() { [[ -n $(xdotool search --onlyvisible --name "$TITLE" | sort | comm -13 <(echo "$1") -) ]]; }
# The profile tabs of the window at Y as FILE (pointer parked aside).
tabs_shot() {
  xdotool mousemove 1200 790
  sleep 0.3
  import -window root -crop "710x40+204+$(($1 + 128))" +repage "$2"
}
# Waits until the tabs of both windows look alike and unlike BEFORE; NAME-{a,b}.png then.
both_show_within() {  # SECONDS BEFORE NAME
  local deadline=$((SECONDS + $1))
  while (( SECONDS < deadline )); do
    tabs_shot 0 "$work/$3-a.png"
    tabs_shot 400 "$work/$3-b.png"
    if ! same_picture "$work/$2.png" "$work/$3-b.png" &&
       same_picture "$work/$3-a.png" "$work/$3-b.png"; then
      return 0
    fi
    sleep 0.3
  done
  return 1
}

start_window "$first" 0; a=$started; wa=$wid
start_window "$second" 400; b=$started
WX=0; WY=0; click 223 178   # the button page shows the profile tabs
WX=0; WY=400; click 223 178
tabs_shot 0 "$work/before-a.png"
tabs_shot 400 "$work/before-b.png"
same_picture "$work/before-a.png" "$work/before-b.png" || fail "the windows differ at the start"

# Profile 1 renamed in the first window: double click, the new name, Enter.
xdotool windowfocus "$wa"
xdotool mousemove 274 148 click --repeat 2 1
sleep 1
xdotool key ctrl+a
xdotool type Duo
xdotool key Return
both_show_within 8 before-b renamed ||
  fail "the name renamed in one window did not show in the other within 8 s"

# A name from the command line, under an instance name of its own, reaches both windows.
ZENTRIK_INSTANCE=$ZENTRIK_INSTANCE-cli "$ZENTRIKCTL" --simulate name 2 Third ||
  fail "zentrikctl name failed"
both_show_within 8 renamed-b cli || fail "the command line's name did not show in both windows"
names=$(ZENTRIK_INSTANCE=$ZENTRIK_INSTANCE-cli "$ZENTRIKCTL" --simulate settings --json) ||
  fail "zentrikctl settings failed"
jq -e '.profiles[0].name == "Duo" and .profiles[2].name == "Third"' <<<"$names" >/dev/null ||
  fail "the mouse does not hold the names: $(jq -c '[.profiles[].name]' <<<"$names")"
ZENTRIK_INSTANCE=$first "$ZENTRIK" /close
ZENTRIK_INSTANCE=$second "$ZENTRIK" /close
wait_for 15 process_gone "$a" || fail "/close did not end the first window"
wait_for 15 process_gone "$b" || fail "/close did not end the second window"
echo "windows follow each other: all checks passed"
