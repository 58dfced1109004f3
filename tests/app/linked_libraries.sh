#!/usr/bin/env bash
# The program must not link the tray indicator or notification libraries (or what they pull
# in): they are opened when first used, and linking them costs every start their loading.
set -euo pipefail
needed=$(readelf -d "$1" | grep NEEDED) || { echo "FAIL: readelf found no NEEDED entries in $1" >&2; exit 1; }
if grep -Ei 'appindicator|ayatana|dbusmenu|libnotify' <<<"$needed"; then
  echo "FAIL: $1 links a library it should open when first used" >&2
  exit 1
fi
echo "linked libraries: none of the tray or notification libraries"
