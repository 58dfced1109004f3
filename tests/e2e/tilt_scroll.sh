#!/usr/bin/env bash
# Tilt scrolling under Xvfb: the tilt thread scrolls a probe window under the pointer.
source "$(dirname "$0")/lib.sh"
PROBE=$1
start_xvfb
rules="$E2E_HOME/rules"
printf '# test rules\nTiltProbe shift-wheel\n' >"$rules"
timeout 60 "$PROBE" "$rules"
