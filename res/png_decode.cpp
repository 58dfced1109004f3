#include "res/png_decode.h"

#include <cairo.h>

#include <cstring>

namespace zentrik::res {
namespace {

struct PngReader {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

cairo_status_t read_png_chunk(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes.size() - reader->pos < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->pos, length);
    reader->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

cairo_surface_t* argb32_copy(cairo_surface_t* source) {
    const int w = cairo_image_surface_get_width(source);
    const int h = cairo_image_surface_get_height(source);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(out);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(out);
    return out;
}

cairo_surface_t* decode_png_argb32(std::span<const std::uint8_t> png) {
    PngReader reader{png};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read_png_chunk, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        cairo_surface_t* converted = argb32_copy(surface);
        cairo_surface_destroy(surface);
        surface = converted;
    }
    return surface;
}

}  // namespace zentrik::res
