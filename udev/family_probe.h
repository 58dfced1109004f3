#pragma once
// The udev probe's decision: is the USB device at a sysfs path a mouse of the family? It reads
// the same two strings discovery reads, through the same usbfs node, and nothing else.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zentrik::udev {

// Reads string `index` of the USB device behind usbfs node `node`; nullopt when it cannot.
using StringReader = std::function<std::optional<std::vector<std::uint8_t>>(
    const std::filesystem::path& node, int index)>;

struct ProbeRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path usbfs = "/dev/bus/usb";
};

// `device_dir` is the sysfs directory of a USB device, or of a hidraw node (whose USB device is
// found as discovery finds it). Returns the udev properties to print: "ZENTRIK_MOUSE=1\n" for a
// mouse of the family or its variant, "ZENTRIK_MOUSE=0\n" for a device that was asked and is
// not one, and an empty string when there is no USB device to ask (no verdict).
std::string probe_device(const ProbeRoots& roots, const std::filesystem::path& device_dir,
                         const StringReader& read_string);

}  // namespace zentrik::udev
