// The shared frame on X11: System V shared memory that the server maps as a pixmap (MIT-SHM).
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <cairo-xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>

#include "platform/shared_frame.h"
#include "platform/shared_memory.h"

namespace zentrik::platform {
namespace {

class X11SharedFrame final : public SharedFrame {
  public:
    X11SharedFrame(int width, int height, std::unique_ptr<SharedMemory> memory)
        : width_(width), height_(height), memory_(std::move(memory)) {}
    ~X11SharedFrame() override { release_server_side(); }
    X11SharedFrame(const X11SharedFrame&) = delete;
    X11SharedFrame& operator=(const X11SharedFrame&) = delete;

    bool attach(GtkWidget* window) override;
    std::span<const std::uint8_t> pixels() const override {
        return {memory_->data(), memory_->size()};
    }
    cairo_surface_t* image() const override { return image_; }
    void wait_until_read() override;
    void show(cairo_t* cr) override;
    void set_as_background(GtkWidget* window) override;
    void clear_background(GtkWidget* window) override;

  private:
    struct Server {
        Display* display = nullptr;
        XShmSegmentInfo segment{};
        Pixmap pixmap = 0;
    };
    void release_server_side();

    int width_;
    int height_;
    std::unique_ptr<SharedMemory> memory_;
    cairo_surface_t* image_ = nullptr;   // the client's view of the pixels
    cairo_surface_t* pixmap_ = nullptr;  // the server's view of the same pixels
    std::unique_ptr<Server> server_;
    bool shown_since_sync_ = false;
};

}  // namespace

std::unique_ptr<SharedFrame> prepare_shared_frame(int width, int height, const std::uint8_t* fill,
                                                  int fill_stride) {
    if (width <= 0 || height <= 0)
        return nullptr;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    auto memory = SharedMemory::create(std::size_t(stride) * height);
    if (!memory)
        return nullptr;
    // Writing every page here, on the helper thread, is what spares the first frame: fresh
    // pages cost far more on first touch than the copy itself.
    std::uint8_t* pixels = memory->data();
    if (fill && fill_stride == stride) {
        std::memcpy(pixels, fill, memory->size());
    } else {
        std::memset(pixels, 0, memory->size());
        if (fill)
            for (int y = 0; y < height; ++y)
                std::memcpy(pixels + std::size_t(stride) * y, fill + std::size_t(fill_stride) * y,
                            std::size_t(std::min(stride, fill_stride)));
    }
    return std::make_unique<X11SharedFrame>(width, height, std::move(memory));
}

void X11SharedFrame::release_server_side() {
    if (image_)
        cairo_surface_destroy(image_);
    image_ = nullptr;
    if (pixmap_) {
        cairo_surface_finish(pixmap_);
        cairo_surface_destroy(pixmap_);
    }
    pixmap_ = nullptr;
    if (server_) {
        if (server_->pixmap)
            XFreePixmap(server_->display, server_->pixmap);
        if (server_->segment.shmid >= 0)
            XShmDetach(server_->display, &server_->segment);
        // The server lets go of the memory before this process unmaps it.
        XSync(server_->display, False);
    }
    server_.reset();
}

bool X11SharedFrame::attach(GtkWidget* window) {
    GdkWindow* gdk_window = gtk_widget_get_window(window);
    GdkDisplay* gdk_display = gtk_widget_get_display(window);
    if (!gdk_window || !GDK_IS_X11_DISPLAY(gdk_display))
        return false;
    Display* display = gdk_x11_display_get_xdisplay(gdk_display);
    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    if (!XShmQueryVersion(display, &major, &minor, &pixmaps) || !pixmaps ||
        XShmPixmapFormat(display) != ZPixmap)
        return false;
    GdkVisual* visual = gtk_widget_get_visual(window);
    const int depth = gdk_visual_get_depth(visual);
    if (depth != 24 && depth != 32)
        return false;

    auto server = std::make_unique<Server>();
    server->display = display;
    server->segment.shmid = memory_->id();
    server->segment.shmaddr = reinterpret_cast<char*>(memory_->data());
    server->segment.readOnly = False;
    // A remote server cannot map the memory: the attach fails with an X error, caught here.
    gdk_x11_display_error_trap_push(gdk_display);
    const bool attached = XShmAttach(display, &server->segment);
    XSync(display, False);
    if (gdk_x11_display_error_trap_pop(gdk_display) != 0 || !attached)
        return false;
    memory_->remove_id();
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width_);
    gdk_x11_display_error_trap_push(gdk_display);
    server->pixmap = XShmCreatePixmap(display, GDK_WINDOW_XID(gdk_window), server->segment.shmaddr,
                                      &server->segment, width_, height_, depth);
    XSync(display, False);
    const bool made = gdk_x11_display_error_trap_pop(gdk_display) == 0 && server->pixmap;
    server_ = std::move(server);
    if (!made) {
        server_->pixmap = 0;
        release_server_side();
        return false;
    }
    pixmap_ = cairo_xlib_surface_create(display, server_->pixmap,
                                        gdk_x11_visual_get_xvisual(visual), width_, height_);
    image_ = cairo_image_surface_create_for_data(memory_->data(), CAIRO_FORMAT_ARGB32, width_,
                                                 height_, stride);
    if (cairo_surface_status(pixmap_) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_status(image_) != CAIRO_STATUS_SUCCESS) {
        release_server_side();
        return false;
    }
    return true;
}

void X11SharedFrame::set_as_background(GtkWidget* window) {
    GdkWindow* gdk_window = gtk_widget_get_window(window);
    if (!server_ || !gdk_window)
        return;
    XSetWindowBackgroundPixmap(server_->display, GDK_WINDOW_XID(gdk_window), server_->pixmap);
    shown_since_sync_ = true;
}

void X11SharedFrame::clear_background(GtkWidget* window) {
    GdkWindow* gdk_window = gtk_widget_get_window(window);
    if (!server_ || !gdk_window)
        return;
    XSetWindowBackgroundPixmap(server_->display, GDK_WINDOW_XID(gdk_window), None);
}

void X11SharedFrame::wait_until_read() {
    if (!server_ || !shown_since_sync_)
        return;
    // The server copies from the memory when it reaches the copy request; once it has answered
    // a later request, the copy is done.
    XSync(server_->display, False);
    shown_since_sync_ = false;
}

void X11SharedFrame::show(cairo_t* cr) {
    if (!pixmap_)
        return;
    cairo_surface_mark_dirty(pixmap_);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, pixmap_, 0, 0);
    cairo_paint(cr);
    shown_since_sync_ = true;
}

}  // namespace zentrik::platform
