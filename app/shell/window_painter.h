#pragma once
// The window's pictures: every repaint composes the renderer's frame, into the frame the
// display server shares with this process when the platform gives one, else into an image made
// for the canvas, and copies the invalidated part. At the window's scale 2 (GDK_SCALE=2 or
// the desktop's setting) the frame is composed for that scale. The first frame is composed before
// the window maps and made its background, so the server shows the finished page as it maps it.
#include <glib.h>

#include <functional>
#include <memory>

#include "platform/shared_frame.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

typedef struct _cairo cairo_t;
typedef struct _GtkWidget GtkWidget;
typedef struct _GObject GObject;
typedef struct _GParamSpec GParamSpec;

namespace zentrik::app {

class WindowPainter {
  public:
    // `window` realized: the server maps the frame's memory (`frame` may be null) while the
    // caller lays the pages out.
    WindowPainter(GtkWidget* window, std::unique_ptr<platform::SharedFrame> frame);
    ~WindowPainter();
    WindowPainter(const WindowPainter&) = delete;
    WindowPainter& operator=(const WindowPainter&) = delete;

    // Once the pages are built: the renderer of `board`, painting into `canvas` with the
    // overlay that `fill_overlay` describes at each repaint.
    ui::Renderer& start(ui::WidgetBoard& board, GtkWidget* canvas,
                        std::function<void(ui::OverlayState&)> fill_overlay);
    // Before the window first maps: its first picture is a finished page.
    void prepare_first_frame();

  private:
    static gboolean on_draw(GtkWidget*, cairo_t* cr, gpointer self);
    // The window moved to a screen of another scale: frames of that scale from now on.
    static void on_scale_changed(GObject*, GParamSpec*, gpointer self);
    cairo_surface_t* compose_frame();

    GtkWidget* window_;
    std::unique_ptr<platform::SharedFrame> frame_;  // before the renderer, which composes into it
    std::unique_ptr<ui::Renderer> renderer_;
    std::function<void(ui::OverlayState&)> fill_overlay_;
};

}  // namespace zentrik::app
