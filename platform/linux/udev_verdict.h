#pragma once
// The udev probe's verdict on a USB device, as the udev database holds it.
#include <filesystem>
#include <optional>
#include <string_view>

namespace zentrik::platform::hidraw {

// ZENTRIK_MOUSE of the device at sysfs directory `usb_device`: true for "1", false for "0",
// nullopt when udev has no such property for it (the rule is not installed, or the device is
// not known to udev).
std::optional<bool> udev_family_verdict(const std::filesystem::path& usb_device);

// The same decision on the property's text (nullptr: not set).
std::optional<bool> family_verdict_from_property(const char* value);

}  // namespace zentrik::platform::hidraw
