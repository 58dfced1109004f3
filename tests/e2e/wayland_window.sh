#!/usr/bin/env bash
# The window as a native Wayland client under Weston's headless backend (no X server at all):
# it maps its window titled "Zentrik Mouse", draws the page its headless render shows, switches
# to the no-mouse page when the simulated mouse is unplugged and back when it is plugged in,
# keeps running, and its own code writes no warning. Screens come from weston-screenshooter
# (Weston's --debug lets it read the output).
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
ZENTRIKCTL=$2
command -v weston >/dev/null || fail "weston is not installed (make deps-test)"
runtime=$(mktemp -d)
chmod 700 "$runtime"
app=
WESTON_PID=
trap 'kill $app $WESTON_PID 2>/dev/null || true; rm -rf "$runtime" "$E2E_HOME"' EXIT

# A black desktop without a panel, so the window's picture is the only thing on the screen.
printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff000000\npanel-position=none\n' \
  >"$work/weston.ini"
export XDG_RUNTIME_DIR=$runtime
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --debug \
  --socket=zentrik-e2e --width=1280 --height=800 >"$work/weston.log" 2>&1 &
WESTON_PID=$!
wait_for 15 test -S "$runtime/zentrik-e2e" || fail "weston did not start: $(tail -5 "$work/weston.log")"
unset DISPLAY
export WAYLAND_DISPLAY=zentrik-e2e GDK_BACKEND=wayland
export ZENTRIK_INSTANCE="${ZENTRIK_INSTANCE:-e2e}-wl$$"
home_references "$ZENTRIK"

# shot (for home and no_mouse): the whole output in $work/shot.png.
shot() {
  rm -f "$work"/wayland-screenshot-*.png
  (cd "$work" && weston-screenshooter >/dev/null 2>&1) || return 1
  mv "$work"/wayland-screenshot-*.png "$work/shot.png"
}
# The window's place: the box of what is not black on the screen, less that box in the
# reference (the window's corners are transparent).
placed() {
  shot || return 1
  local box ref
  box=$(convert "$work/shot.png" -trim -format '%w %h %X %Y' info:)
  ref=$(convert "$work/f5.png" -trim -format '%w %h %X %Y' info:)
  local -a b=($box) r=($ref)
  [[ ${b[0]} == "${r[0]}" && ${b[1]} == "${r[1]}" ]] || return 1
  WX=$(( b[2] - r[2] )); WY=$(( b[3] - r[3] ))
}

# WAYLAND_DEBUG: the client's requests, the title among them, on its standard error.
WAYLAND_DEBUG=client "$ZENTRIK" --simulate 2>"$work/stderr" & app=$!
wait_for 30 placed || fail "no window of the home page's size on the screen"
grep -qE 'xdg_toplevel@[0-9]+\.set_title\("Zentrik Mouse' "$work/stderr" ||
  fail "the window did not name itself \"Zentrik Mouse\" over the Wayland connection"
wait_for 20 home || fail "the window does not show the home page as its headless render does"

"$ZENTRIKCTL" --simulate unplug 0 || fail "zentrikctl unplug failed"
wait_for 30 no_mouse || fail "unplugging the mouse did not show the no-mouse page"
"$ZENTRIKCTL" --simulate plug 0 || fail "zentrikctl plug failed"
wait_for 30 home || fail "plugging the mouse in again did not bring the home page back"

sleep 3  # a few seconds of running: timers, polling, the tilt thread
kill -0 "$app" || fail "the program ended"
"$ZENTRIK" /close
wait_for 10 process_gone "$app" || fail "/close did not end the program"
app=

# Everything on its standard error but the protocol trace and what GTK says about a compositor
# without a seat (Weston's headless backend has neither pointer nor keyboard).
own=$(grep -vE '^\[ *[0-9]+\.[0-9]+\] |^ *$' "$work/stderr" |
  grep -vE "^\(zentrik:[0-9]+\): Gdk-CRITICAL \*\*: [0-9:.]+: (gdk_seat_get_(keyboard|pointer): assertion 'GDK_IS_SEAT \(seat\)' failed|gdk_device_get_position_double: assertion 'GDK_IS_DEVICE \(device\)' failed)$" || true)
[[ -z "$own" ]] || fail "warnings on the program's standard error:
$own"
echo "wayland window: all checks passed"
