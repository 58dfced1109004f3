// zentrik-udev-probe: run by the udev rule for USB devices; prints ZENTRIK_MOUSE=1 for a mouse
// of the family (or its variant) and ZENTRIK_MOUSE=0 for another device. It only reads two string
// descriptors on the control pipe: it never claims an interface or detaches a driver, and it always
// exits 0 so udev goes on with the event.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/linux/usb_string_descriptor.h"
#include "udev/family_probe.h"

namespace {

// udev waits for the probe; a device that does not answer must not hold the event up long.
constexpr std::chrono::milliseconds kRequestTimeout(250);

constexpr char kUsage[] =
    "Usage: zentrik-udev-probe [--sysfs DIR] [--usbfs DIR] SYSFS_DEVICE_PATH\n"
    "Prints ZENTRIK_MOUSE=1 when the USB device (or the hidraw node's USB device) at\n"
    "SYSFS_DEVICE_PATH is a Zentrik mouse, ZENTRIK_MOUSE=0 when it is another device, and\n"
    "nothing when there is no USB device to ask. Always exits 0.\n";

}  // namespace

int main(int argc, char** argv) {
    zentrik::udev::ProbeRoots roots;
    const char* device = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (std::strcmp(argv[i], "--sysfs") == 0 && i + 1 < argc) {
            roots.sysfs = argv[++i];
        } else if (std::strcmp(argv[i], "--usbfs") == 0 && i + 1 < argc) {
            roots.usbfs = argv[++i];
        } else if (!device) {
            device = argv[i];
        } else {
            device = nullptr;
            break;
        }
    }
    if (!device) {
        std::fputs(kUsage, stderr);
        return 0;
    }
    const std::string out = zentrik::udev::probe_device(
        roots, device, [](const std::filesystem::path& node, int index) {
            return zentrik::platform::usb::read_string_descriptor(node, index, kRequestTimeout);
        });
    std::fputs(out.c_str(), stdout);
    return 0;
}
