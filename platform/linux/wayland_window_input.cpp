#include "platform/linux/wayland_window_input.h"

#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>

#include "platform/linux/evdev_scan_codes.h"
#include "platform/toolkit_display.h"

namespace zentrik::platform {
namespace {

class ToolkitWindowInput final : public RawInputSource {
  public:
    ~ToolkitWindowInput() override { stop(); }

    bool start(RawInputSink& sink) override {
        sink_ = &sink;
        if (!running_) {
            gdk_event_handler_set(&ToolkitWindowInput::handle, this, nullptr);
            running_ = true;
        }
        return true;
    }
    void stop() override {
        if (!running_)
            return;
        running_ = false;
        // Back to what gtk_init set: every event straight to GTK.
        gdk_event_handler_set(&ToolkitWindowInput::pass_on, nullptr, nullptr);
    }
    bool hears_only_own_window() const override { return true; }

  private:
    static void pass_on(GdkEvent* event, gpointer) { gtk_main_do_event(event); }
    static void handle(GdkEvent* event, gpointer data) {
        auto& self = *static_cast<ToolkitWindowInput*>(data);
        if (self.sink_)
            deliver_toolkit_event(*event, *self.sink_);
        gtk_main_do_event(event);
    }

    RawInputSink* sink_ = nullptr;
    bool running_ = false;
};

}  // namespace

bool deliver_toolkit_event(const GdkEvent& event, RawInputSink& sink) {
    switch (event.type) {
        case GDK_KEY_PRESS:
        case GDK_KEY_RELEASE: {
            const auto key = raw_key_from_xkb_keycode(event.key.hardware_keycode,
                                                      event.type == GDK_KEY_PRESS, event.key.time);
            if (key)
                sink.on_raw_key(*key);
            return key.has_value();
        }
        case GDK_BUTTON_PRESS:
        case GDK_BUTTON_RELEASE: {
            const std::uint8_t bit = raw_button_bit(static_cast<int>(event.button.button));
            if (bit == 0)
                return false;
            RawMouseEvent mouse;
            mouse.time_ms = event.button.time;
            (event.type == GDK_BUTTON_PRESS ? mouse.buttons_down : mouse.buttons_up) = bit;
            sink.on_raw_mouse(mouse);
            return true;
        }
        case GDK_SCROLL: {
            if (event.scroll.direction != GDK_SCROLL_UP &&
                event.scroll.direction != GDK_SCROLL_DOWN)
                return false;
            RawMouseEvent mouse;
            mouse.time_ms = event.scroll.time;
            mouse.wheel_delta = event.scroll.direction == GDK_SCROLL_UP ? kWheelDeltaPerNotch
                                                                        : -kWheelDeltaPerNotch;
            sink.on_raw_mouse(mouse);
            return true;
        }
        default:
            return false;  // double and triple presses come after their single presses
    }
}

std::unique_ptr<RawInputSource> make_toolkit_window_input() {
    return std::make_unique<ToolkitWindowInput>();
}

bool toolkit_display_is_wayland(GtkWidget* widget) {
    return GDK_IS_WAYLAND_DISPLAY(gtk_widget_get_display(widget));
}

}  // namespace zentrik::platform
