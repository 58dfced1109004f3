#!/usr/bin/env bash
# zentrikctl record under Xvfb: keys typed through XTest become key steps with waits between
# them; buttons and wheel notches become mouse steps, the horizontal wheel never.
source "$(dirname "$0")/lib.sh"
ZENTRIKCTL=$1
start_xvfb
out=$(mktemp -d)
trap 'kill $XVFB_PID 2>/dev/null || true; rm -rf "$out" "$E2E_HOME"' EXIT

# steps FILE: the bytes of each step of a macro file, one step a line.
steps() { "$ZENTRIKCTL" macro show "$1" | cut -c9-24 | sed 's/ *$//'; }

# record SECONDS FILE [OPTIONS]: records in the background while the caller acts.
record() {
  local seconds=$1 file=$2; shift 2
  "$ZENTRIKCTL" record "$@" --seconds "$seconds" "$file" >"$out/log" 2>&1 &
  RECORDER=$!
  sleep 1  # until its raw events are selected
}

# Keys with pauses: press A, pause, release A, ... as xdotool types "ab".
record 4 "$out/ab.mf"
xdotool type --delay 300 ab
wait $RECORDER || fail "record exited with $?: $(cat "$out/log")"
codes=$(steps "$out/ab.mf")
keys=$(grep -E '^8[34] ' <<<"$codes" | tr '\n' ' ')
[[ "$keys" == "83 04 84 04 83 05 84 05 " ]] || fail "key steps: $keys (all: $codes)"
waits=$(grep -cE '^8[89] ' <<<"$codes" || true)
[[ "$waits" == 3 ]] || fail "expected a wait between each two key steps: $codes"
[[ $(head -1 <<<"$codes") == "04" ]] || fail "the macro does not start with its run mode: $codes"

# Without pauses: only the key steps.
record 4 "$out/nopause.mf" --no-pauses
xdotool type --delay 200 ab
wait $RECORDER || fail "record --no-pauses exited with $?"
codes=$(steps "$out/nopause.mf" | tr '\n' ',')
[[ "$codes" == "04,83 04,84 04,83 05,84 05," ]] || fail "--no-pauses steps: $codes"

# Mouse: right click, side button 8 (recorded as button 4), one notch each way, and the
# horizontal wheel buttons 6/7, which add nothing.
record 4 "$out/mouse.mf" --no-pauses
for b in 3 8 4 5 6 7; do xdotool click $b; sleep 0.1; done
wait $RECORDER || fail "record (mouse) exited with $?"
codes=$(steps "$out/mouse.mf" | tr '\n' ',')
[[ "$codes" == "04,22,42,28,48,61,7f," ]] || fail "mouse steps: $codes"

# Ctrl+C stops it and keeps what was recorded, without the Ctrl+C keys themselves.
"$ZENTRIKCTL" record --no-pauses "$out/int.mf" >"$out/log" 2>&1 & RECORDER=$!
sleep 1
xdotool type a
xdotool keydown ctrl keydown c
kill -INT $RECORDER
wait $RECORDER || fail "record stopped by SIGINT exited with $?: $(cat "$out/log")"
xdotool keyup c keyup ctrl
codes=$(steps "$out/int.mf" | tr '\n' ',')
[[ "$codes" == "04,83 04,84 04," ]] || fail "steps before Ctrl+C: $codes"

"$ZENTRIKCTL" record --seconds 0 "$out/x.mf" 2>/dev/null && fail "--seconds 0 was accepted"
[[ $? == 2 ]] || fail "a bad --seconds did not exit with the usage status"
echo "record_cli: all checks passed"
