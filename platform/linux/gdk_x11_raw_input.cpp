// The window's recorder input on X11: XInput2 raw events on GDK's own display connection,
// handed over by a GDK event filter.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "platform/linux/wayland_window_input.h"
#include "platform/linux/x11_raw_input.h"
#include "platform/window_raw_input.h"

namespace zentrik::platform {
namespace {

class GdkX11RawInput final : public RawInputSource {
  public:
    // GDK announced its XInput 2 version already; asking again with another one fails.
    explicit GdkX11RawInput(Display* display) : raw_(display, false) {}
    ~GdkX11RawInput() override { stop(); }
    GdkX11RawInput(const GdkX11RawInput&) = delete;
    GdkX11RawInput& operator=(const GdkX11RawInput&) = delete;

    bool start(RawInputSink& sink) override {
        if (!raw_.start(sink))
            return false;
        if (!filtering_) {
            gdk_window_add_filter(nullptr, &GdkX11RawInput::filter, this);
            filtering_ = true;
        }
        return true;
    }

    void stop() override {
        raw_.stop();
        if (filtering_) {
            gdk_window_remove_filter(nullptr, &GdkX11RawInput::filter, this);
            filtering_ = false;
        }
    }

  private:
    static GdkFilterReturn filter(GdkXEvent* xevent, GdkEvent*, gpointer data) {
        auto& self = *static_cast<GdkX11RawInput*>(data);
        if (self.raw_.handle_event(static_cast<XEvent*>(xevent)))
            return GDK_FILTER_REMOVE;  // raw events are the recorder's alone
        return GDK_FILTER_CONTINUE;
    }

    X11RawInput raw_;
    bool filtering_ = false;
};

}  // namespace

std::unique_ptr<RawInputSource> make_window_raw_input_source(GtkWidget* window) {
    GdkDisplay* display = gtk_widget_get_display(window);
    if (!GDK_IS_X11_DISPLAY(display))  // a native Wayland window hears its own input only
        return make_toolkit_window_input();
    return std::make_unique<GdkX11RawInput>(gdk_x11_display_get_xdisplay(display));
}

}  // namespace zentrik::platform
