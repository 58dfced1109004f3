#!/usr/bin/env bash
# Nothing another process holds keeps the program from starting or its second start from
# reaching the first: not the abstract socket name the channel once had, not a socket file left
# by a crashed instance, not a plain file at the channel's place.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
TITLE="Zentrik Mouse"
start_xvfb
export XDG_RUNTIME_DIR="$E2E_HOME/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
channel="$XDG_RUNTIME_DIR/zentrik-$ZENTRIK_INSTANCE.socket"

# The old predictable name, bound first (as another account could).
python3 -c '
import socket, sys, time
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.bind("\0" + sys.argv[1]); s.listen(1)
print("bound", flush=True); time.sleep(600)' "zentrik-$ZENTRIK_INSTANCE-uid$(id -u)" >"$E2E_HOME/squat" &
squatter=$!
# The channel answers (a leftover socket refuses the connection).
answers() { python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' "$channel"; }
trap 'kill $squatter $XVFB_PID 2>/dev/null || true; rm -rf "$E2E_HOME"' EXIT
wait_for 5 grep -q bound "$E2E_HOME/squat" || fail "the squatter did not bind"

for leftover in socket file; do
  if [[ $leftover == socket ]]; then
    python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$channel"
  else
    echo stale >"$channel"
  fi
  [[ -e "$channel" ]] || fail "no leftover $leftover at $channel"

  "$ZENTRIK" /hide 2>"$E2E_HOME/stderr" & first=$!
  wait_for 20 answers || fail "no channel over a leftover $leftover"
  "$ZENTRIK" || fail "a second start over a leftover $leftover exited with $?"
  wait_for 10 window_visible "$TITLE" || fail "a second start did not reach the first (leftover $leftover)"
  kill -0 $first || fail "the first instance ended"
  "$ZENTRIK" /close
  wait_for 10 process_gone $first || fail "/close did not reach the first instance"
  [[ -e "$channel" ]] && fail "the channel's socket outlived its instance"
  [[ -s "$E2E_HOME/stderr" ]] && grep -q "channel" "$E2E_HOME/stderr" && fail "the channel was reported unusable"
done

# No channel can be set up: the window opens all the same and says why.
mkdir "$channel"
"$ZENTRIK" 2>"$E2E_HOME/stderr" & app=$!
wait_for 20 window_visible "$TITLE" || fail "no window without a channel"
grep -q "single-instance channel" "$E2E_HOME/stderr" || fail "nothing said about the missing channel"
kill $app; wait $app 2>/dev/null || true
echo "squatted channel: all checks passed"
