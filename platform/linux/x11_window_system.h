#pragma once
// The X11 window system: window facts from the X server and steps sent through XTest.
#include <memory>

#include "platform/window_system.h"

namespace zentrik::platform {

// Through $DISPLAY; nullptr without a display or without XTest. `reach` says whom the sent
// steps reach (under Wayland, XWayland's programs only).
std::unique_ptr<WindowSystem> make_x11_window_system(ScrollReach reach);

}  // namespace zentrik::platform
