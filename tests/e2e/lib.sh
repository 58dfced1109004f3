# Shared helpers of the end-to-end tests: a private X display and waiting with time-outs.
set -euo pipefail

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"  # GTK keeps caches until exit
export NO_AT_BRIDGE=1
# The simulated mice, safety copies and settings of a test live in a folder of its own.
E2E_HOME=$(mktemp -d)
export XDG_STATE_HOME="$E2E_HOME/state" XDG_CONFIG_HOME="$E2E_HOME/config"
# Screenshots, reference pictures and files of the test; removed with E2E_HOME.
work="$E2E_HOME/work"
mkdir -p "$work"

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

# await_window TITLE SECONDS MESSAGE: waits for the visible window TITLE (else fails with
# MESSAGE); then wid is its id, WX and WY its place, WIDTH and HEIGHT its size.
await_window() {
  wait_for "$2" window_visible "$1" || fail "$3"
  wid=$(xdotool search --onlyvisible --name "$1" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  WX=$X; WY=$Y
}

# close_program SECONDS [MESSAGE]: "$ZENTRIK /close", then the program started as $app must end
# within SECONDS.
close_program() {
  "$ZENTRIK" /close
  wait_for "$1" process_gone "$app" || fail "${2:-/close did not end the program}"
}

# start_tilt_target: a window that logs the buttons it gets into $work/xev.log (its process is
# $target), with the pointer over it; got_button N: it got button N.
start_tilt_target() {
  xev -geometry 400x60+20+735 -name "tilt target" -event button >"$work/xev.log" &
  target=$!
  wait_for 10 window_visible "tilt target" || fail "no target window"
  xdotool mousemove 200 765
}
got_button() { grep -q "button $1," "$work/xev.log"; }

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

# home_references ZENTRIK: the references of the home page (5) and the no-mouse page (99).
# shot: the screen as $work/shot.png (a script for another display server defines its own).
# on_page PAGE OTHER: the window at WX, WY shows PAGE; home, no_mouse: the two pages.
home_references() { reference "$1" 5 "$work"; reference "$1" 99 "$work"; }
shot() { import -window root "$work/shot.png"; }
on_page() { shot && looks_like "$1" "$2" "$work" "$work/shot.png"; }
home() { on_page 5 99; }
no_mouse() { on_page 99 5; }

# differing A B [FUZZ]: how many pixels of two same-sized pictures differ by more than FUZZ
# (default 3%); same_picture A B: none does.
differing() {
  # compare may print the count as 2.2878e+06; anything but a count (an error) fails.
  { compare -metric AE -fuzz "${3:-3%}" "$1" "$2" null: 2>&1 || true; } |
    awk '$1 ~ /^[0-9][0-9.e+]*$/ { printf "%d\n", $1; ok = 1 } END { exit !ok }'
}
same_picture() { (( $(differing "$1" "$2") == 0 )); }

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
