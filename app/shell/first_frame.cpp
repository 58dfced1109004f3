#include "app/shell/first_frame.h"

#include <gtk/gtk.h>

namespace zentrik::app {
namespace {

struct Pending {
    std::function<void()> then;
    gulong handler = 0;
};

gboolean run_pending(gpointer data) {
    auto* pending = static_cast<Pending*>(data);
    // The frame's requests wait in Xlib's buffer until the main loop next polls: they are sent
    // before the work that follows, or the window shows nothing until that work is done.
    gdk_display_flush(gdk_display_get_default());
    pending->then();
    delete pending;
    return G_SOURCE_REMOVE;
}

gboolean on_drawn(GtkWidget* widget, cairo_t*, gpointer data) {
    auto* pending = static_cast<Pending*>(data);
    g_signal_handler_disconnect(widget, pending->handler);
    g_idle_add(run_pending, pending);
    return FALSE;
}

}  // namespace

void after_first_frame(GtkWidget* widget, std::function<void()> then) {
    auto* pending = new Pending{std::move(then)};
    pending->handler = g_signal_connect_after(widget, "draw", G_CALLBACK(on_drawn), pending);
}

}  // namespace zentrik::app
