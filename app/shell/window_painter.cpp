#include "app/shell/window_painter.h"

#include <gtk/gtk.h>

#include "app/shell/first_frame.h"

namespace zentrik::app {

WindowPainter::WindowPainter(GtkWidget* window, std::unique_ptr<platform::SharedFrame> frame)
    : window_(window), frame_(std::move(frame)) {
    // The shared frame is prepared at the window's size in window pixels, before the toolkit
    // knows the screen's scale; a window at another scale gets frames over the connection.
    if (frame_ && (gtk_widget_get_scale_factor(window_) != 1 || !frame_->attach(window_)))
        frame_.reset();
}

WindowPainter::~WindowPainter() = default;

ui::Renderer& WindowPainter::start(ui::WidgetBoard& board, GtkWidget* canvas,
                                   std::function<void(ui::OverlayState&)> fill_overlay) {
    fill_overlay_ = std::move(fill_overlay);
    renderer_ = std::make_unique<ui::Renderer>(board);
    // At GDK scale 2 the frame is drawn for the screen's pixels (pictures and text made for
    // that scale); widget boxes, input and the window's shape stay in window pixels.
    renderer_->set_scale(gtk_widget_get_scale_factor(window_));
    g_signal_connect(window_, "notify::scale-factor", G_CALLBACK(on_scale_changed), this);
    // A frame in memory the display server can read shows without another copy of it.
    renderer_->set_frame_factory([this, canvas](int width, int height) -> cairo_surface_t* {
        if (frame_)
            return cairo_surface_reference(frame_->image());
        GdkWindow* target = gtk_widget_get_window(canvas);
        return target ? gdk_window_create_similar_image_surface(target, CAIRO_FORMAT_ARGB32, width,
                                                                height, 1)
                      : nullptr;
    });
    g_signal_connect(canvas, "draw", G_CALLBACK(on_draw), this);
    return *renderer_;
}

cairo_surface_t* WindowPainter::compose_frame() {
    ui::OverlayState overlay;
    fill_overlay_(overlay);
    if (frame_)
        frame_->wait_until_read();
    return renderer_->compose(overlay);
}

void WindowPainter::prepare_first_frame() {
    // Composed before the window maps and made its background: the server shows the finished
    // page as it maps the window, without waiting for the toolkit's first paint.
    if (frame_ && compose_frame() == frame_->image()) {
        frame_->set_as_background(window_);
        // From the first paint on, the window's own paints cover exposed parts; a stale
        // background would flash there first.
        after_first_frame(window_, [this] { frame_->clear_background(window_); });
    }
}

void WindowPainter::on_scale_changed(GObject*, GParamSpec*, gpointer data) {
    auto& self = *static_cast<WindowPainter*>(data);
    const int scale = gtk_widget_get_scale_factor(self.window_);
    if (scale == self.renderer_->scale())
        return;
    if (self.frame_)
        self.frame_->wait_until_read();
    self.renderer_->set_scale(scale);
    // The shared frame has the size of scale 1 only.
    if (scale != 1)
        self.frame_.reset();
    gtk_widget_queue_draw(self.window_);
}

gboolean WindowPainter::on_draw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto& self = *static_cast<WindowPainter*>(data);
    cairo_surface_t* frame = self.compose_frame();
    // Only the invalidated area is clipped in; the frame's alpha replaces what was there.
    if (self.frame_ && frame == self.frame_->image()) {
        self.frame_->show(cr);
    } else {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, frame, 0, 0);
        cairo_paint(cr);
    }
    return FALSE;
}

}  // namespace zentrik::app
