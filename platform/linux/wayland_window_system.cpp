// A Wayland compositor tells a client nothing about other clients' windows: not the window
// under the pointer, not the program in front, not their classes or titles. So on Wayland every
// tilt becomes the horizontal wheel of the virtual scroll device, which the compositor hands to
// the program under the pointer as it would a real mouse's; the rules for single programs, the
// excluded foreground title and "nothing under the pointer" cannot be decided and do not apply.
#include "platform/linux/wayland_window_system.h"

#include <cstdlib>

namespace zentrik::platform {
namespace {

class WaylandWindowSystem final : public WindowSystem {
  public:
    explicit WaylandWindowSystem(std::unique_ptr<UinputScrollDevice> device)
        : device_(std::move(device)) {}

    WindowFacts window_facts() override {
        WindowFacts facts;
        facts.windows_known = false;
        return facts;
    }
    bool send_scroll(ScrollGesture gesture, bool toward_left) override {
        return device_->send(gesture, toward_left);
    }
    std::string desktop() const override {
        const char* display = std::getenv("WAYLAND_DISPLAY");
        return std::string("wayland-") + (display && *display ? display : "wayland-0");
    }

  private:
    std::unique_ptr<UinputScrollDevice> device_;
};

}  // namespace

std::unique_ptr<WindowSystem> make_wayland_window_system(
    std::unique_ptr<UinputScrollDevice> device) {
    if (!device)
        return nullptr;
    return std::make_unique<WaylandWindowSystem>(std::move(device));
}

}  // namespace zentrik::platform
