// Which window system the tilt thread gets: on X11 the X server's (window facts for the rules,
// XTest for the steps), as it always was. On Wayland the virtual scroll device, which reaches
// native Wayland programs too; without it (no access to /dev/uinput), the X11 path through
// XWayland, which reaches X11 programs only.
#include "platform/linux/uinput_scroll_device.h"
#include "platform/linux/wayland_window_system.h"
#include "platform/linux/x11_window_system.h"
#include "platform/raw_input.h"

namespace zentrik::platform {

std::unique_ptr<WindowSystem> make_window_system() {
    if (!wayland_session())
        return make_x11_window_system(ScrollReach::kEveryProgram);
    std::string error;
    if (auto device = UinputScrollDevice::create(open_uinput_node(error)))
        return make_wayland_window_system(std::move(device));
    return make_x11_window_system(ScrollReach::kX11ProgramsOnly);
}

}  // namespace zentrik::platform
