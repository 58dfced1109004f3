#pragma once
// USB string descriptors read on the default control pipe of a device, without claiming an
// interface or detaching a kernel driver: the mouse keeps moving the pointer meanwhile.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace zentrik::platform::usb {

// The usbfs node of a device: <usbfs>/BBB/DDD (bus number and address, three digits each).
std::filesystem::path usbfs_node(const std::filesystem::path& usbfs, int bus, int address);

// String descriptor `index` (0-255) in the device's first language (0x0409 when the device lists
// none), as the bytes after the descriptor's 2-byte header. nullopt when the node cannot be
// opened (no permission, device gone) or the device does not answer with a string descriptor
// within `timeout` per request.
std::optional<std::vector<std::uint8_t>> read_string_descriptor(
    const std::filesystem::path& node, int index,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

}  // namespace zentrik::platform::usb
