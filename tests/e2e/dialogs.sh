# The GTK dialogs of the program $app (main window $main) on a display without a window manager.
# Sourced by the end-to-end tests after lib.sh.

# dialog: true once the program shows a window other than its main one; DIALOG is the newest.
dialog() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$app"); do
    [[ "$w" != "$main" ]] && DIALOG=$w
  done
  [[ -n "${DIALOG:-}" ]]
}
# focus_dialog: the pointer over DIALOG and the focus in it (keys go under the pointer).
focus_dialog() {
  eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
  xdotool mousemove $((X + 20)) $((Y + 20))
  xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
  sleep 0.5
}
# use_dialog WHAT: waits for a dialog (failing with "WHAT did not open") and focuses it.
use_dialog() {
  DIALOG=
  wait_for 15 dialog || fail "$1 did not open"
  focus_dialog
}
