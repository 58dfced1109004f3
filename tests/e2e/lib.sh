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
  # XVFB_EXTRA_ARGS: e.g. "-extension MIT-SHM" for a server that shares no memory (remote).
  # shellcheck disable=SC2086
  # XVFB_SCREEN: another screen size (a high-DPI window needs more room).
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp -noreset ${XVFB_EXTRA_ARGS:-} 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local display; read -r -t 15 display <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$display"
  # The single-instance channel is per user: a name of this display's own keeps two test runs
  # at once (other build trees) from finding each other's program.
  export ZENTRIK_INSTANCE="${ZENTRIK_INSTANCE:-e2e}-x$display"
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

# In the window at WX, WY: drag X1 Y1 X2 Y2 (window coordinates): press, move in steps, release.
drag() {
  xdotool mousemove $((WX + $1)) $((WY + $2)) mousedown 1
  local i
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((WX + $1 + ($3 - $1) * i / 8)) $((WY + $2 + ($4 - $2) * i / 8))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
}
click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep 0.8; }

window_visible() { xdotool search --onlyvisible --name "$1"; }
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# "r g b" of pixel (X, Y) of an image.
pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}
# Sum of the channel differences of two "r g b" triples.
distance() {
  local -a a=($1) b=($2)
  local d=0 i diff
  for i in 0 1 2; do
    diff=$(( a[i] - b[i] ))
    d=$(( d + (diff < 0 ? -diff : diff) ))
  done
  echo $d
}

# reference ZENTRIK PAGE DIR: DIR/fPAGE.png, the page as a screen without a compositor shows it.
reference() {
  [[ -f "$3/f$2.png" ]] && return 0
  "$1" --render-page "$2" "$3/p$2.png" || fail "cannot render page $2"
  convert "$3/p$2.png" -background black -flatten "$3/f$2.png"
}

# looks_like PAGE OTHER DIR SHOT: at the points where the references of PAGE and OTHER differ,
# the screenshot SHOT (window at WX, WY) matches PAGE.
looks_like() {
  local page=$1 other=$2 dir=$3 shot=$4 point px py d n=0
  for point in "300 445" "750 445" "400 250" "860 330" "520 300" "200 200" "700 322" "600 520"; do
    read -r px py <<<"$point"
    d=$(distance "$(pixel "$dir/f$page.png" $px $py)" "$(pixel "$dir/f$other.png" $px $py)")
    (( d > 60 )) || continue
    n=$((n + 1))
    d=$(distance "$(pixel "$shot" $((WX + px)) $((WY + py)))" "$(pixel "$dir/f$page.png" $px $py)")
    (( d <= 30 )) || return 1
  done
  (( n > 0 ))
}

# The button page of the window at WX, WY, and its profile boxes as checked (screenshots in the
# folder DIR): profile 1's checked box is red, profile 3's blue.
open_button_page() {
  xdotool mousemove $((WX + 200)) $((WY + 175)) click 1 mousemove $((WX + 1000)) $((WY + 620))
}
profile_box() {  # DIR X: "r g b" of the profile box at X
  import -window root "$1/shot.png" && pixel "$1/shot.png" $((WX + $2)) $((WY + 135))
}
profile1_checked() { local -a c=($(profile_box "$1" 215)); (( c[0] > 200 && c[1] < 80 && c[2] < 80 )); }
profile3_checked() { local -a c=($(profile_box "$1" 495)); (( c[2] > 200 && c[0] < 80 && c[1] < 80 )); }
