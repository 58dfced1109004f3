#!/usr/bin/env bash
# The program stays a single instance: a second start brings the first forward and ends,
# "/close" ends the running instance, and a crashed instance never blocks the next start.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
TITLE="Zentrik Mouse"
start_xvfb

"$ZENTRIK" & first=$!
wait_for 20 window_visible "$TITLE" || fail "the first instance shows no window"

"$ZENTRIK" & second=$!
wait_for 5 process_gone $second || fail "a second start did not end"
wait $second || fail "a second start exited with $?"
kill -0 $first || fail "the first instance ended when a second started"

"$ZENTRIK" /close & closer=$!
wait_for 5 process_gone $closer || fail "/close did not end"
wait_for 5 process_gone $first || fail "/close did not end the running instance"
wait $first || fail "the first instance exited with $? after /close"

start=$SECONDS
"$ZENTRIK" /close || fail "/close with nothing running exited with $?"
(( SECONDS - start <= 2 )) || fail "/close with nothing running took too long"
window_visible "$TITLE" && fail "/close with nothing running opened a window"

# Hidden start; a second start shows it.
"$ZENTRIK" /hide & hidden=$!
sleep 2
window_visible "$TITLE" && fail "/hide showed the window"
"$ZENTRIK"
wait_for 5 window_visible "$TITLE" || fail "a second start did not show the hidden window"

# A crashed instance leaves nothing that blocks the next start.
kill -9 $hidden; wait $hidden 2>/dev/null || true
"$ZENTRIK" & again=$!
wait_for 20 window_visible "$TITLE" || fail "no window after a crashed instance"
"$ZENTRIK" --close
wait_for 5 process_gone $again || fail "/close did not end the restarted instance"
echo "single instance: all checks passed"
