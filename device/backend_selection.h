#pragma once
// Which mice the program talks to: the system's when any mouse of the family is attached,
// the simulated ones when none is. When the system shows a mouse that cannot be opened
// (permissions), the simulated mice do not stand in for it: the caller says why instead.
#include <functional>
#include <memory>

#include "device/timing.h"
#include "device/zklib.h"
#include "platform/hid_backend.h"

namespace zentrik::device {

using BackendFactory = std::function<std::shared_ptr<platform::HidBackend>()>;

struct BackendChoice {
    std::shared_ptr<platform::HidBackend> backend;
    bool simulated = false;
    // Set when the system backend lists no mouse but has interfaces that look like one and
    // cannot be opened; `backend` is then the system backend.
    std::vector<UnopenedInterface> unopened;
};

// Runs a discovery on `system`; returns it when it lists at least one mouse or shows one that
// cannot be opened, else the backend that `simulated` makes.
BackendChoice select_backend(std::shared_ptr<platform::HidBackend> system,
                             const BackendFactory& simulated, std::shared_ptr<Timing> timing);

}  // namespace zentrik::device
