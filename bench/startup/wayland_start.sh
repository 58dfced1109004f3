#!/usr/bin/env bash
# Start-up on Wayland: a private headless Weston, then for each program in turn (the program on
# one page without device work, `--page N`, and a bare GTK3 window of the same size) RUNS starts,
# each measuring
#   exec → first frame   the first commit of the top-level surface with a buffer attached (from
#                        the client's WAYLAND_DEBUG trace, whose stamps are the real-time clock
#                        in microseconds modulo 2^32)
#   RSS                  resident memory SETTLE seconds after the start
# and prints the medians and the ratios to the bare window. A measuring tool, never a test gate.
#
# Usage: wayland_start.sh ZENTRIK BARE_GTK_WINDOW [RUNS] [PAGE] [SETTLE]
set -euo pipefail
zentrik=${1:?usage: wayland_start.sh ZENTRIK BARE_GTK_WINDOW [RUNS] [PAGE] [SETTLE]}
bare=${2:?usage: wayland_start.sh ZENTRIK BARE_GTK_WINDOW [RUNS] [PAGE] [SETTLE]}
runs=${3:-5}
page=${4:-5}
settle=${5:-3}

work=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
trap 'kill $weston_pid 2>/dev/null || true; rm -rf "$work" "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
weston --backend=headless-backend.so --use-pixman --socket=bench --width=1280 --height=800 \
  >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [[ -S $runtime/bench ]] && break; sleep 0.1; done
unset DISPLAY
export WAYLAND_DISPLAY=bench GDK_BACKEND=wayland NO_AT_BRIDGE=1 ZENTRIK_INSTANCE=bench-wl$$

# first_frame_ms TRACE START_US: exec → the first commit of the xdg top-level's surface that
# follows an attach of a buffer to it.
first_frame_ms() {
  awk -v start="$2" '
    match($0, /get_xdg_surface\(new id xdg_surface@[0-9]+, wl_surface@[0-9]+\)/) {
      s = substr($0, RSTART, RLENGTH); sub(/.*wl_surface@/, "", s); sub(/\)/, "", s); top = s }
    top != "" && index($0, "wl_surface@" top ".attach(wl_buffer@") { attached = 1 }
    top != "" && attached && index($0, "wl_surface@" top ".commit()") {
      t = substr($1, 2) + 0; d = t - start / 1000
      if (d < 0) d += 4294967.296
      printf "%.1f\n", d; exit }' "$1"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {  # NAME ARGS...: RUNS starts, prints "NAME frame_ms rss_kib"
  local name=$1; shift
  local frames=() rss=() k
  for ((k = 0; k < runs; k++)); do
    local start=$(( $(date +%s%6N) % 4294967296 ))
    WAYLAND_DEBUG=client "$@" 2>"$work/trace" &
    local pid=$!
    sleep "$settle"
    rss+=("$(awk '/^VmRSS/ { print $2 }' /proc/$pid/status)")
    kill $pid; wait $pid 2>/dev/null || true
    frames+=("$(first_frame_ms "$work/trace" "$start")")
  done
  echo "$name $(printf '%s\n' "${frames[@]}" | median) $(printf '%s\n' "${rss[@]}" | median)"
}

program=$(measure program "$zentrik" --page "$page")
baseline=$(measure bare "$bare")
read -r _ pf pr <<<"$program"
read -r _ bf br <<<"$baseline"
printf '%-8s %14s %10s\n' "" "first frame ms" "RSS KiB"
printf '%-8s %14s %10s\n' program "$pf" "$pr" bare "$bf" "$br"
awk -v pf="$pf" -v bf="$bf" -v pr="$pr" -v br="$br" \
  'BEGIN { printf "%-8s %14.2f %10.2f\n", "ratio", pf / bf, pr / br }'
