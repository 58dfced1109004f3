#!/usr/bin/env bash
# The window speaks the language that language.ini and /langid give it: the caption becomes the
# window's title, and the choice is kept in the user's set.ini.
source "$(dirname "$0")/lib.sh"
ZENTRIK=$1
start_xvfb
mkdir -p "$XDG_CONFIG_HOME/zentrik"
printf '[APP]\r\nstr=Zentrik Japanese Test\r\n[1041]\r\nmsg_str1=Select one\r\n' \
  >"$XDG_CONFIG_HOME/zentrik/language.ini"

"$ZENTRIK" --simulate /langid=1041 & app=$!
wait_for 20 window_visible "Zentrik Japanese Test" ||
  fail "the window does not carry the caption of language.ini"
grep -qi '^id *= *1041' "$XDG_CONFIG_HOME/zentrik/set.ini" || fail "set.ini does not hold 1041"
close_program 10
echo "language: all checks passed"
