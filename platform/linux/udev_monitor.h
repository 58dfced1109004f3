#pragma once
// Arrival and removal of hidraw nodes, from the udev monitor socket.
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/device_monitor.h"

namespace zentrik::platform::hidraw {

// A monitor of subsystem "hidraw" whose changes name nodes as <dev>/hidrawN (the way the
// hidraw backend lists them). Its fd() is -1 when libudev cannot set one up.
std::unique_ptr<DeviceMonitor> make_udev_monitor(const std::filesystem::path& dev);

// One uevent of a hidraw node as a change: "add" is an arrival, "remove" a removal, other
// actions (bind, change) are none. The interface bits come from the USB interface named in the
// device path, which a removal still carries.
std::optional<DeviceChange> change_from_uevent(std::string_view action, std::string_view sysname,
                                               std::string_view devpath,
                                               const std::filesystem::path& dev);

}  // namespace zentrik::platform::hidraw
