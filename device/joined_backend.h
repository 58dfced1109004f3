#pragma once
// The simulated mice with the system's HID interfaces watched beside them: a window that started
// with no mouse attached runs on the simulated mice, and picks up a mouse of the family plugged
// in later without a restart.
#include <memory>

#include "device/timing.h"
#include "platform/hid_backend.h"

namespace zentrik::device {

// One backend to its users. enumerate() lists the system's interfaces while a mouse of the
// family is attached to the system (found by a discovery of its own), else the simulated mice;
// every other call goes to the backend that lists the path. Its monitor reports the changes of
// both, so an arriving mouse leads the poll to a discovery that lists it, and the simulated
// mouse, no longer listed, is dropped.
std::shared_ptr<platform::HidBackend> make_joined_backend(
    std::shared_ptr<platform::HidBackend> system, std::shared_ptr<platform::HidBackend> simulated,
    std::shared_ptr<Timing> timing);

}  // namespace zentrik::device
