#!/bin/sh
# Operating-system headers belong to the platform backends (platform/<backend>/) and the udev
# probe (udev/). Fails, naming file and line, when any other program source includes an X11,
# Wayland, xcb, xkbcommon, evdev/uinput, udev, libusb or other Linux-only header, or a header
# of a backend folder. GTK's portable headers (gtk/gtk.h, gdk/gdk.h) stay allowed in app/.
#
# Tests and benchmarks are not scanned: tests/platform and tests/udev test the Linux backend,
# and the end-to-end tests and start-up benchmarks drive the X server themselves.
#
# Usage: os_headers_rule.sh SOURCE_ROOT
set -eu
root=${1:?usage: os_headers_rule.sh SOURCE_ROOT}
cd "$root"

# Header names (after "<" or "\"") that only a backend may include.
forbidden='X11/|xcb/|gdk/gdkx\.h|gdk/gdkwayland\.h|gdk/x11/|gdk/wayland/|wayland-|xkbcommon/|'\
'linux/|libudev\.h|libusb|libevdev/|sys/inotify\.h|sys/epoll\.h|sys/eventfd\.h|sys/shm\.h|'\
'sys/ipc\.h|cairo-xlib|windows\.h|platform/[a-z0-9_]+/'
# platform/hid/ is the portable descriptor parser, not a backend.
allowed='platform/hid/'

found=$(find . \( -path ./platform -o -path ./udev -o -path ./tests -o -path ./bench \
                 -o -path './build*' -o -path './.*' \) -prune -o \
             -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' \
                        -o -name '*.hpp' \) -print |
        xargs grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($forbidden)" |
        grep -vE "[<\"]$allowed" || true)

if [ -n "$found" ]; then
    echo "Operating-system headers outside platform/ and udev/; put them behind a platform interface:"
    echo "$found"
    exit 1
fi
echo "No operating-system header outside platform/ and udev/."
