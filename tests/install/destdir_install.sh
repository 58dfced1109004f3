#!/usr/bin/env bash
# Installs the build in BUILD_DIR into a temporary DESTDIR and checks what lands there.
#   destdir_install.sh BUILD_DIR PREFIX
set -euo pipefail
build=$1
prefix=$2
dest=$(mktemp -d "${TMPDIR:-/tmp}/zentrik-install-XXXXXX")
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$dest cmake --install "$build" >/dev/null
root=$dest$prefix

expected=(
  bin/zentrik bin/zentrikctl
  lib/udev/zentrik-udev-probe lib/udev/rules.d/70-zentrik-mouse.rules
  lib/udev/rules.d/71-zentrik-uinput.rules
  share/applications/zentrik.desktop share/metainfo/com.zentrik.mouse.metainfo.xml
  share/icons/hicolor/scalable/apps/zentrik.svg
  share/man/man1/zentrik.1.gz share/man/man1/zentrikctl.1.gz
  share/bash-completion/completions/zentrikctl
  share/zentrik/language.ini "share/zentrik/macro library.ini" share/zentrik/tilt-rules
  "share/zentrik/macros/double click.mf" "share/zentrik/macros/type hello.mf"
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/zentrik.png")
done
for f in "${expected[@]}"; do
  [[ -f "$root/$f" ]] || fail "not installed: $f"
done
# Nothing lands outside the prefix, and nothing but what is listed.
outside=$(cd "$dest" && find . -type f ! -path ".$prefix/*")
[[ -z "$outside" ]] || fail "installed outside $prefix: $outside"
count=$(find "$root" -type f | wc -l)
[[ $count -eq ${#expected[@]} ]] || fail "$count files installed, ${#expected[@]} expected: $(cd "$root" && find . -type f)"

for f in bin/zentrik bin/zentrikctl lib/udev/zentrik-udev-probe; do
  [[ -x "$root/$f" ]] || fail "not executable: $f"
done
grep -q "IMPORT{program}=\"$prefix/lib/udev/zentrik-udev-probe %S%p\"" \
  "$root/lib/udev/rules.d/70-zentrik-mouse.rules" || fail "the rule does not name the installed probe"
grep -q 'TAG+="uaccess"' "$root/lib/udev/rules.d/70-zentrik-mouse.rules" || fail "no uaccess tag"
! grep -q 'MODE=' "$root/lib/udev/rules.d/70-zentrik-mouse.rules" || fail "the rule sets a mode"
grep -q 'KERNEL=="uinput".*TAG+="uaccess"' "$root/lib/udev/rules.d/71-zentrik-uinput.rules" ||
  fail "the uinput rule does not give the seat access"
! grep -q 'MODE=' "$root/lib/udev/rules.d/71-zentrik-uinput.rules" || fail "the uinput rule sets a mode"

desktop-file-validate "$root/share/applications/zentrik.desktop"
appstreamcli validate --no-net "$root/share/metainfo/com.zentrik.mouse.metainfo.xml" >/dev/null
bash -n "$root/share/bash-completion/completions/zentrikctl"
zcat "$root/share/man/man1/zentrikctl.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "manual lacks exit statuses"

# The installed tools find the installed samples when the user has none.
export XDG_CONFIG_HOME=$dest/config HOME=$dest/home
"$root/bin/zentrikctl" --help >/dev/null
library=$("$root/bin/zentrikctl" library)
grep -qP "^entry\tDouble click\t$root/share/zentrik/macros/double click.mf\t12$" <<<"$library" ||
  fail "the installed library does not list its sample: $library"
"$root/bin/zentrikctl" lang --langid 1031 | grep -q '^tab_str0 = Geräteliste$' ||
  fail "the installed language file is not read"
# The user's own file wins over the sample.
mkdir -p "$XDG_CONFIG_HOME/zentrik"
printf '[1031]\ntab_str0=Meine Liste\n' >"$XDG_CONFIG_HOME/zentrik/language.ini"
"$root/bin/zentrikctl" lang --langid 1031 | grep -q '^tab_str0 = Meine Liste$' ||
  fail "the user's language file does not come first"
"$root/bin/zentrikctl" autostart on >/dev/null
grep -q "^Exec=$root/bin/zentrik /hide$" "$XDG_CONFIG_HOME/autostart/zentrik.desktop" ||
  fail "the autostart entry does not start the installed program hidden"
desktop-file-validate "$XDG_CONFIG_HOME/autostart/zentrik.desktop"
"$root/lib/udev/zentrik-udev-probe" /sys/devices/virtual/misc/uhid
echo "install check passed: ${#expected[@]} files"
