#!/usr/bin/env bash
# The window follows the simulated mouse: it lists and loads it and lands on the home page;
# unplugging it shows the no-mouse page within two seconds, plugging it in again brings the
# home page back; a profile chosen on the mouse shows on the button page.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
for page in 0 5 99; do reference "$ZENTRIK" $page "$work"; done

"$ZENTRIK" --simulate & app=$!
await_window "$TITLE" 20 "no window"
wait_for 20 home || fail "the window does not land on the home page after loading the mouse"

"$ZENTRIKCTL" --simulate unplug 0 || fail "zentrikctl unplug failed"
# Screens are taken for two seconds and compared afterwards: comparing one takes longer than
# taking it, so a check made while the page still fades in would use up the time.
deadline=$(( ${EPOCHREALTIME/./} + 2000000 ))
shots=0
while (( ${EPOCHREALTIME/./} < deadline )); do
  import -window root "$work/unplug$shots.png"
  shots=$((shots + 1))
done
shown=0
for ((k = 0; k < shots; k++)); do
  looks_like 99 5 "$work" "$work/unplug$k.png" && { shown=1; break; }
done
(( shown )) || fail "unplugging the mouse did not show the no-mouse page within 2 s"
"$ZENTRIKCTL" --simulate plug 0 || fail "zentrikctl plug failed"
wait_for 10 home || fail "plugging the mouse in again did not bring the home page back"

# The button page, then profile 3 chosen on the mouse: its box turns to its checked colour.
open_button_page
wait_for 5 profile1_checked "$work" || fail "the button page did not show"
"$ZENTRIKCTL" --simulate event 0 profile 2 || fail "zentrikctl event failed"
wait_for 5 profile3_checked "$work" || fail "a profile chosen on the mouse did not show"

close_program 10
echo "device lifecycle: all checks passed"
