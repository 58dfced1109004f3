#include "platform/linux/udev_verdict.h"

#include <libudev.h>

#include <string_view>

namespace zentrik::platform::hidraw {

std::optional<bool> family_verdict_from_property(const char* value) {
    if (!value)
        return std::nullopt;
    const std::string_view v(value);
    if (v == "1")
        return true;
    if (v == "0")
        return false;
    return std::nullopt;  // not written by the probe: no verdict
}

std::optional<bool> udev_family_verdict(const std::filesystem::path& usb_device) {
    udev* u = udev_new();
    if (!u)
        return std::nullopt;
    std::optional<bool> verdict;
    if (udev_device* d = udev_device_new_from_syspath(u, usb_device.c_str())) {
        verdict = family_verdict_from_property(udev_device_get_property_value(d, "ZENTRIK_MOUSE"));
        udev_device_unref(d);
    }
    udev_unref(u);
    return verdict;
}

}  // namespace zentrik::platform::hidraw
