#!/usr/bin/env bash
# A person starts a restore of a backup in the window (the DPI page's Restore, the open dialog,
# the question) and ends the program with "/close" while the job writes the mouse. The window
# must go at once, the program must live on until the job is done and then end with status 0,
# a second start made meanwhile must wait without a window and open its own once the first has
# gone, and the mouse must hold the whole backup afterwards.
source "$(dirname "$0")/lib.sh"
export GSETTINGS_BACKEND=memory  # the file chooser keeps its settings for this run only
ZENTRIK=$1
ZENTRIKCTL=$2
TITLE="Zentrik Mouse"
start_xvfb
ctl() { "$ZENTRIKCTL" --simulate "$@"; }
# A failed check must not leave the programs running (a stuck instance keeps its channel's
# socket, which other starts of the user would try): end them before lib.sh's own clean-up.
app='' second=''
lib_exit=$(trap -p EXIT)
lib_exit=${lib_exit#"trap -- "}
eval "lib_exit=${lib_exit%" EXIT"}"
trap 'kill -9 $app $second 2>/dev/null || true; eval "$lib_exit"' EXIT
safety="$XDG_STATE_HOME/zentrik/backups"  # where every restore saves the mouse first

# A mouse that differs from a reset one in its names, buttons, DPI, rate and macros; its
# backup; then a reset, so that the restore has the whole memory to write back.
ctl name 1 Game >/dev/null && ctl button 1 2 copy >/dev/null && ctl dpi 1 800 1600 >/dev/null &&
  ctl rate 500 >/dev/null && ctl macro build "$work/m.mf" 05 83 04 88 32 84 04 >/dev/null &&
  ctl macros write 3 "$work/m.mf" --name Jump >/dev/null || fail "preparing the mouse failed"
ctl settings --json >"$work/settings.json" && ctl macros --json >"$work/macros.json" ||
  fail "zentrikctl could not read the prepared mouse"
ctl backup "$work/saved.mbf" >/dev/null || fail "zentrikctl backup failed"
# The simulated mouse's memory image (docs/simulated-mouse.md) as the backup holds it.
memory=$(echo "$XDG_STATE_HOME"/zentrik/sim/mouse0-*k.mem)
cp "$memory" "$work/memory.bin" || fail "the simulated mouse keeps no memory image"
ctl reset --yes >/dev/null || fail "zentrikctl reset failed"
ctl settings --json | cmp -s - "$work/settings.json" && fail "the reset left the settings as they were"

# A process that has not ended (an ended child of this shell may linger as a zombie).
alive() { [[ -r /proc/$1/stat && "$(awk '{print $3}' "/proc/$1/stat")" != Z ]]; }
safety_copies() { find "$safety" -name '*.mbf' 2>/dev/null | wc -l; }
copies_before=$(safety_copies)
one_more_safety_copy() { (( $(safety_copies) > copies_before )); }

# GTK's file chooser reads folders on GIO's worker pool (see profile_file_window.sh).
# ThreadSanitizer keeps a program a second longer after its main function has returned (to
# catch races at exit); without that pause the program's end is where the check below sees it.
TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}ignore_noninstrumented_modules=1:atexit_sleep_ms=0" \
  "$ZENTRIK" --simulate & app=$!
await_window "$TITLE" 20 "no window"
main=$wid

source "$(dirname "$0")/dialogs.sh"
window_gone() { ! window_visible "$TITLE"; }
closed() { ! xdotool search --onlyvisible --pid "$app" | grep -qx "$1"; }

# The Restore button works once the mouse is listed and loaded: ask until the dialog opens.
DIALOG=
for _ in 1 2 3 4 5 6; do
  sleep 2
  click 104 458  # the DPI category on the home page, the DPI tab on the others
  click 685 500  # Restore
  wait_for 5 dialog && break
done
[[ -n "$DIALOG" ]] || fail "the Restore button opened no dialog"
focus_dialog
xdotool key ctrl+l
xdotool type --delay 20 "$work/saved.mbf"
sleep 1
xdotool key Return
# A first Return may only take the location entry's completion.
wait_for 3 closed "$DIALOG" || xdotool key Return
wait_for 10 closed "$DIALOG" || fail "the open dialog stayed open"
use_dialog "the restore's question"
xdotool key alt+y
wait_for 10 closed "$DIALOG" || fail "the restore's question stayed open"

# The safety copy is saved before the first write: from then on the job writes the mouse.
wait_for 60 one_more_safety_copy || fail "the restore saved no safety copy"
alive $app || fail "the program ended during the restore"
"$ZENTRIK" --simulate /close || fail "/close during the job exited with $?"
wait_for 5 window_gone || fail "the window stayed on screen after /close"
alive $app || fail "the program ended at once, before its job was done"

# A second start meanwhile waits for the ending instance: no window while the first lives.
# (Its stderr also goes on to the test's, where sanitizer reports are looked for.)
"$ZENTRIK" --simulate 2> >(tee "$work/second.log" >&2) & second=$!
deadline=$((SECONDS + 120))
while alive $app; do
  (( SECONDS < deadline )) || fail "the program did not end after its job"
  if window_visible "$TITLE" >/dev/null && alive $app; then
    w=$(xdotool search --onlyvisible --name "$TITLE" | head -1)
    fail "a window of process $(xdotool getwindowpid "$w") showed while the ending program ($app) still ran"
  fi
  alive $second || fail "the second start ended while the first was ending"
  sleep 0.2
done
wait $app || fail "the ended program exited with $?"
cmp -s "$memory" "$work/memory.bin" ||
  fail "the program ended before its restore was done: $(cmp -l "$memory" "$work/memory.bin" | wc -l) bytes differ"
grep -q "waiting for it" "$work/second.log" ||
  fail "the second start did not say that it waits: $(cat "$work/second.log")"
wait_for 30 window_visible "$TITLE" || fail "the second start opened no window after the first ended"
[[ "$(xdotool getwindowpid "$(xdotool search --onlyvisible --name "$TITLE" | head -1)")" == "$second" ]] ||
  fail "the window shown is not the second start's"
"$ZENTRIK" /close
wait_for 15 process_gone $second || fail "/close did not end the second start"
wait $second || fail "the second start exited with $?"

# The whole backup is in the mouse: a new backup is the same file, settings and macros as saved.
ctl backup "$work/after.mbf" >/dev/null || fail "zentrikctl backup after the restore failed"
cmp -s "$work/after.mbf" "$work/saved.mbf" ||
  fail "the mouse differs from the backup: $(cmp -l "$work/after.mbf" "$work/saved.mbf" | wc -l) bytes"
ctl settings --json | cmp -s - "$work/settings.json" ||
  fail "the settings differ from those at backup time: $(ctl settings --json | diff - "$work/settings.json")"
ctl macros --json | cmp -s - "$work/macros.json" || fail "the macros differ from those at backup time"
echo "exit during job: all checks passed"
