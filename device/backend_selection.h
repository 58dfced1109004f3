#pragma once
// Which mice the program talks to: the system's when any mouse of the family is attached,
// the simulated ones when none is. When the system shows a mouse that cannot be opened
// (permissions) and the udev probe recorded it as one of the family, the simulated mice do not
// stand in for it: the caller says why instead. A node that only looks like one (nothing
// recorded) is a hint: the simulated mice are used and the caller may mention it.
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
    // Interfaces that look like a mouse and cannot be opened. When any is `confirmed`, `backend`
    // is the system backend; otherwise they are hints beside the simulated mice.
    std::vector<UnopenedInterface> unopened;
};

// Whether the simulated mice, once chosen, give way to a mouse of the family plugged in later.
enum class Arrivals { kIgnore, kFollow };

// Runs a discovery on `system`; returns it when it lists at least one mouse or shows one that
// cannot be opened, else the backend that `simulated` makes. With Arrivals::kFollow (a window
// that keeps running) that backend is joined with `system` (see device/joined_backend.h): the
// system's mice are listed as soon as one is attached, and its monitor reports their arrival.
BackendChoice select_backend(std::shared_ptr<platform::HidBackend> system,
                             const BackendFactory& simulated, std::shared_ptr<Timing> timing,
                             Arrivals arrivals = Arrivals::kIgnore);

// True when any of `unopened` was recorded as a mouse of the family.
bool any_confirmed(const std::vector<UnopenedInterface>& unopened);

}  // namespace zentrik::device
