#!/usr/bin/env bash
# The live window at GDK scale 2: twice the size on the screen, drawn from the pictures and
# text made for that scale (it matches `--render-page N --scale 2`, not an enlarged scale-1
# frame), and clicks still land on the widgets at their window positions.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
TITLE="Zentrik Mouse"
XVFB_SCREEN=2400x1500x24 start_xvfb

# References as a screen without a compositor shows them: the pages drawn at scale 2, and
# page 5 at scale 1 enlarged pixel by pixel (what a window without its own pictures shows).
for page in 2 5; do
  "$ZENTRIK" --render-page $page "$work/p$page.png" --scale 2 || fail "cannot render page $page"
  convert "$work/p$page.png" -background black -flatten "$work/f$page.png"
done
"$ZENTRIK" --render-page 5 "$work/p5_1x.png" || fail "cannot render page 5 at scale 1"
convert "$work/p5_1x.png" -background black -flatten -filter point -resize 200% "$work/up5.png"
[[ $(identify -format '%wx%h' "$work/f5.png") == 2092x1310 ]] || fail "the render at scale 2 is not 2092 x 1310"


GDK_SCALE=2 "$ZENTRIK" --page 5 & app=$!
await_window "$TITLE" 20 "no window at scale 2"
[[ "${WIDTH}x${HEIGHT}" == 2092x1310 ]] || fail "the window is ${WIDTH}x${HEIGHT} on the screen, not 2092x1310"

# window_shows PAGE: the window on the screen is the page drawn at scale 2 (a few pixels may
# differ: the text cursor, hover), and far from the enlarged scale-1 frame.
window_shows() {
  import -window root "$work/shot.png" &&
    convert "$work/shot.png" -crop 2092x1310+$WX+$WY +repage "$work/window.png" &&
    (( $(differing "$work/window.png" "$work/f$1.png" 10%) <= 400 ))
}
# The first paint may come well after the window maps (fonts load first on a slow build).
wait_for 20 window_shows 5 || fail "the window at scale 2 does not show the page as rendered at scale 2 ($(differing "$work/window.png" "$work/f5.png" 10%) pixels differ)"
upscaled=$(differing "$work/window.png" "$work/up5.png" 10%)
(( upscaled > 4000 )) || fail "the window looks like the enlarged scale-1 frame ($upscaled pixels differ)"

# The DPI category at window position (90, 416) is at twice that on the screen.
xdotool mousemove $((WX + 180)) $((WY + 832)) click 1
wait_for 15 window_shows 2 || fail "a click on the DPI category at scale 2 did not show the DPI page"

close_program 5
echo "hidpi window: all checks passed ($upscaled pixels differ from the enlarged scale-1 frame)"
