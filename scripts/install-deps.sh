#!/usr/bin/env bash
# Installs the Debian packages the build (and, with --test, the test suite) needs.
# Idempotent: asks apt only for packages that are not installed yet, and never prompts.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config nlohmann-json3-dev
  libgtk-3-dev libxext-dev libnotify-dev libcairo2-dev libpango1.0-dev libayatana-appindicator3-dev
  libusb-1.0-0-dev libudev-dev libxkbcommon-dev libxkbcommon-x11-dev libxi-dev libxtst-dev libx11-dev
  libxcb-xtest0-dev
  fonts-dejavu-core fonts-wine
)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils xauth imagemagick jq weston
             desktop-file-utils appstream clang libclang-rt-14-dev libxdamage-dev dbus-daemon
             openbox at-spi2-core python3-pyatspi)
fi
if [[ "${1:-}" == "--deb" ]]; then
  packages+=(dpkg-dev lintian)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
