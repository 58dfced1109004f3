#pragma once
// Which mice the program talks to: the system's when any mouse of the family is attached,
// otherwise the simulated ones.
#include <functional>
#include <memory>

#include "device/timing.h"
#include "platform/hid_backend.h"

namespace zentrik::device {

using BackendFactory = std::function<std::shared_ptr<platform::HidBackend>()>;

struct BackendChoice {
    std::shared_ptr<platform::HidBackend> backend;
    bool simulated = false;
};

// Runs a discovery on `system`; returns it when it lists at least one mouse, else the
// backend that `simulated` makes.
BackendChoice select_backend(std::shared_ptr<platform::HidBackend> system,
                             const BackendFactory& simulated, std::shared_ptr<Timing> timing);

}  // namespace zentrik::device
