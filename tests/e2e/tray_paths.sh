#!/usr/bin/env bash
# The tray icon and the start tip on both paths: without a session bus (a status icon, the
# notification library finds no service) and with one (the indicator library is loaded). Each
# start shows its window, lives on after the tip and ends cleanly on /close, and neither
# library is reported missing.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
TITLE="Zentrik Mouse"
start_xvfb
unset DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR

run_path() {  # run_path NAME [LAUNCHER...]
  local name=$1; shift
  local log="$E2E_HOME/$name.log"
  "$@" "$ZENTRIK" /showtip 2>"$log" & local app=$!
  wait_for 20 window_visible "$TITLE" || fail "$name: no window"
  sleep 2  # the tip comes a second after the start, the tray icon after the first frame
  kill -0 $app || fail "$name: the program ended after the tray icon and the tip"
  close_program 10 "$name: /close did not end the program"
  wait $app || { local rc=$?; cat "$log" >&2; fail "$name: the program exited with $rc"; }
  if grep -E "status icon instead|notices are not shown" "$log"; then
    fail "$name: a desktop library could not be loaded"
  fi
}

run_path "no session bus"
# With a bus, GDBus's worker thread hands messages to and from the main thread through glib's
# futex locks, which ThreadSanitizer cannot see: in that run it ignores what the uninstrumented
# libraries themselves touch (an AddressSanitizer build ignores the variable).
TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}ignore_noninstrumented_modules=1" \
  run_path "session bus" dbus-run-session --
echo "tray paths: all checks passed"
