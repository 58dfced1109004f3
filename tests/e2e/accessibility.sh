#!/usr/bin/env bash
# The window as a screen reader sees it: on a private session bus with its own accessibility
# bus, tests/e2e/accessibility_probe.py finds the window, reads the side tabs and profile
# buttons, switches the page through a tab's click action and sets a DPI slider through the
# accessibility interface; the simulated mouse must then hold that resolution.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
PROBE="$(dirname "$0")/accessibility_probe.py"
start_xvfb
[[ -x /usr/libexec/at-spi-bus-launcher ]] || fail "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"
unset NO_AT_BRIDGE  # lib.sh keeps the other tests off the accessibility bus

# One session: the bus, its accessibility bus (activated on the first request), the window and
# the probe. Prints the value the probe set as its last line.
session() {
  "$ZENTRIK" --simulate & local app=$!
  local rc=0 out
  out=$(timeout 90 /usr/bin/python3 "$PROBE") || rc=$?
  echo "$out"
  sleep 3  # the store-settings timer (2 s after the last write)
  "$ZENTRIK" /close
  wait_for 15 process_gone $app || { kill $app; echo "FAIL: /close did not end the program" >&2; return 1; }
  wait $app || { echo "FAIL: the program exited with $?" >&2; return 1; }
  return $rc
}
export -f session wait_for process_gone
export ZENTRIK PROBE
# GDBus's worker thread hands the bridge's messages to and from the main thread through glib's
# futex locks, which ThreadSanitizer cannot see: it ignores what those uninstrumented libraries
# touch themselves (an AddressSanitizer build ignores the variable).
out=$(TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}ignore_noninstrumented_modules=1" \
      dbus-run-session -- bash -c session) || fail "the accessibility probe failed"
echo "$out"
set_to=$(tail -1 <<<"$out")
level=$("$ZENTRIKCTL" --simulate settings --json | jq '.dpi.level')
x=$("$ZENTRIKCTL" --simulate settings --json | jq ".dpi.levels[$level].x")
[[ "$x" == "$set_to" ]] || fail "the mouse holds X $x DPI, not the $set_to set through the accessibility interface"
echo "PASS"
