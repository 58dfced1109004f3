# Shared helpers of the end-to-end tests: a private X display and waiting with time-outs.
set -euo pipefail

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"  # GTK keeps caches until exit
export NO_AT_BRIDGE=1
# The simulated mice, safety copies and settings of a test live in a folder of its own.
E2E_HOME=$(mktemp -d)
export XDG_STATE_HOME="$E2E_HOME/state" XDG_CONFIG_HOME="$E2E_HOME/config"

fail() { echo "FAIL: $*" >&2; exit 1; }

start_xvfb() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  # -noreset: the server must not reset (and refuse connections) when its last client ends.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local display; read -r -t 15 display <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$display"
  trap 'kill $XVFB_PID 2>/dev/null || true; rm -rf "$E2E_HOME"' EXIT
}

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, false after SECONDS.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    (( SECONDS < deadline )) || return 1
    sleep 0.1
  done
}

window_visible() { xdotool search --onlyvisible --name "$1"; }
process_gone() { ! kill -0 "$1" 2>/dev/null; }
