#pragma once
// Several device monitors behind one descriptor, for a main loop that watches one.
#include <memory>
#include <vector>

#include "platform/device_monitor.h"

namespace zentrik::platform {

// A monitor whose fd() is readable while any of `monitors` has changes pending and whose
// read_changes() returns theirs, in the order given. Null monitors and monitors without a
// descriptor are left out; one that remains is returned as it is; nullptr when none remains.
std::unique_ptr<DeviceMonitor> join_monitors(std::vector<std::unique_ptr<DeviceMonitor>> monitors);

}  // namespace zentrik::platform
