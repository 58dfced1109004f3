#include "app/shell/skin_window.h"

#include <gtk/gtk.h>

#include "res/png_decode.h"
#include "res/skin_resources.h"

namespace zentrik::app {

void apply_window_shape(GtkWidget* window, const ui::Region& shape) {
    if (shape.empty())
        return;
    cairo_region_t* region = cairo_region_create();
    for (const ui::Rect& r : shape.rects) {
        const cairo_rectangle_int_t rect{r.left, r.top, r.width(), r.height()};
        cairo_region_union_rectangle(region, &rect);
    }
    // Clicks on the transparent corners fall through to what lies below.
    gtk_widget_shape_combine_region(window, region);
    gtk_widget_input_shape_combine_region(window, region);
    cairo_region_destroy(region);
}

GdkPixbuf* pixbuf_from_resource(int resource_id) {
    const auto png = res::skin_png(resource_id);
    if (png.empty())
        return nullptr;
    // The type is named, so nothing looks the data's type up.
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (!loader)
        return nullptr;
    GdkPixbuf* pixbuf = nullptr;
    if (gdk_pixbuf_loader_write(loader, png.data(), png.size(), nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        if ((pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)))
            g_object_ref(pixbuf);
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return pixbuf;
}

GdkCursor* cursor_from_resource(GdkDisplay* display, int resource_id) {
    const res::CursorHotspot hot = res::cursor_hotspot(resource_id);
    // A screen at scale 2 gets the picture drawn at twice the size (GDK would enlarge the other);
    // the hot spot stays in the picture's own pixels.
    GdkMonitor* monitor = gdk_display_get_monitor(display, 0);
    if (monitor && gdk_monitor_get_scale_factor(monitor) == 2) {
        const auto png = res::skin_png_double(resource_id);
        if (cairo_surface_t* sharp = png.empty() ? nullptr : res::decode_png_argb32(png)) {
            cairo_surface_set_device_scale(sharp, 2, 2);
            GdkCursor* cursor = gdk_cursor_new_from_surface(display, sharp, hot.x, hot.y);
            cairo_surface_destroy(sharp);
            if (cursor)
                return cursor;
        }
    }
    GdkPixbuf* pixbuf = pixbuf_from_resource(resource_id);
    if (!pixbuf)
        return nullptr;
    GdkCursor* cursor = gdk_cursor_new_from_pixbuf(display, pixbuf, hot.x, hot.y);
    g_object_unref(pixbuf);
    return cursor;
}

}  // namespace zentrik::app
