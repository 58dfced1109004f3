// Tooltip measurement with the renderer's fonts on a small offscreen surface.
#include <cairo.h>

#include <memory>
#include <mutex>

#include "ui/canvas.h"
#include "ui/input/pointer_dispatcher.h"

namespace zentrik::ui {

TextMeasure default_text_measure() {
    struct Measurer {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        TextLayouts layouts;
        std::mutex mutex;
        ~Measurer() {
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
        }
    };
    auto m = std::make_shared<Measurer>();
    return [m](const std::string& text, int font, int width) {
        std::lock_guard lock(m->mutex);
        Canvas canvas(m->cr, m->layouts);
        return canvas.measure(text, font, width);
    };
}

}  // namespace zentrik::ui
