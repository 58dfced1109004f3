#pragma once
// The Linux HID backend on hidraw nodes, with the places it looks injectable for tests.
#include <filesystem>
#include <memory>

#include "platform/hid_backend.h"

namespace zentrik::platform::hidraw {

struct HidrawRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";            // where the hidrawN nodes are
    std::filesystem::path usbfs = "/dev/bus/usb";  // where USB devices are opened for strings
};

std::unique_ptr<HidBackend> make_hidraw_backend(HidrawRoots roots);

}  // namespace zentrik::platform::hidraw
