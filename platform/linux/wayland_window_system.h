#pragma once
// The window system of a Wayland session, as far as a client can have one.
#include <memory>

#include "platform/linux/uinput_scroll_device.h"
#include "platform/window_system.h"

namespace zentrik::platform {

// Steps through the virtual scroll device, which reaches every program; no window facts.
std::unique_ptr<WindowSystem> make_wayland_window_system(
    std::unique_ptr<UinputScrollDevice> device);

}  // namespace zentrik::platform
