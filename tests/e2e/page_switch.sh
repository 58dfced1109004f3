#!/usr/bin/env bash
# Clicking through the live window: started on the home page, a click on the DPI category
# shows the DPI page; Escape leaves the window open.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
TITLE="Zentrik Mouse"
start_xvfb

# Reference pictures of the two pages, as they look on a screen without a compositor.
for page in 2 5; do
  "$ZENTRIK" --render-page $page "$work/p$page.png" || fail "cannot render page $page"
  convert "$work/p$page.png" -background black -flatten "$work/f$page.png"
done
# Probe points that only the DPI page paints: its sliders and panel, away from the tabs.
probes=()
for point in "700 322" "700 358" "300 445" "750 445" "400 250" "860 330"; do
  read -r px py <<<"$point"
  d=$(distance "$(pixel "$work/f2.png" $px $py)" "$(pixel "$work/f5.png" $px $py)")
  if (( d > 60 )); then probes+=("$point"); fi
done
(( ${#probes[@]} > 0 )) || fail "pages 2 and 5 look alike at every probe"

# shows PAGE SHOT: at every probe the screenshot SHOT matches the reference of PAGE.
shows() {
  local page=$1 shot=$2 point px py d
  for point in "${probes[@]}"; do
    read -r px py <<<"$point"
    d=$(distance "$(pixel "$shot" $((WX + px)) $((WY + py)))" "$(pixel "$work/f$page.png" $px $py)")
    (( d <= 30 )) || return 1
  done
  return 0
}

"$ZENTRIK" --page 5 & app=$!
await_window "$TITLE" 20 "no window for --page 5"
# The first paint may come well after the window maps (fonts load first on a slow build).
check_home() { import -window root "$work/before.png" && shows 5 "$work/before.png"; }
wait_for 20 check_home || fail "the window does not show the home page at start"
shows 2 "$work/before.png" && fail "the probes cannot tell the pages apart"
# The window draws its texts with the same faces as the headless render: the caption of the
# first category, pixel for pixel (a wider fallback face would shift every glyph).
convert "$work/before.png" -crop 300x40+$((WX + 200))+$((WY + 160)) +repage "$work/live_text.png"
convert "$work/f5.png" -crop 300x40+200+160 +repage "$work/render_text.png"
differing=$(compare -metric AE -fuzz 10% "$work/live_text.png" "$work/render_text.png" null: 2>&1 || true)
(( ${differing%%.*} <= 20 )) || fail "the window's text differs from the headless render ($differing pixels)"

# The centre of the "function dpi" button at (40, 400).
xdotool mousemove $((WX + 90)) $((WY + 416)) click 1
check_dpi() { import -window root "$work/after.png" && shows 2 "$work/after.png"; }
wait_for 5 check_dpi || fail "a click on the DPI category did not show the DPI page"

xdotool key Escape
sleep 0.5
window_visible "$TITLE" >/dev/null || fail "Escape closed the window"
kill -0 $app || fail "Escape ended the program"

close_program 5
echo "page switch: all checks passed"
