#pragma once
// The Linux HID backend on hidraw nodes, with the places it looks injectable for tests.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/hid_backend.h"

namespace zentrik::platform::hidraw {

// Reads string descriptor `index` of the USB device whose usbfs node is `node`.
using StringReader = std::function<std::optional<std::vector<std::uint8_t>>(
    const std::filesystem::path& node, int index)>;

struct HidrawRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";            // where the hidrawN nodes are
    std::filesystem::path usbfs = "/dev/bus/usb";  // where USB devices are opened for strings
    StringReader read_string;                      // empty: the device's own answer (libusb)
    // The udev probe's verdict on the USB device at a sysfs directory; empty: the udev database.
    std::function<std::optional<bool>(const std::filesystem::path& usb_device)> read_verdict;
};

std::unique_ptr<HidBackend> make_hidraw_backend(HidrawRoots roots);

}  // namespace zentrik::platform::hidraw
