#pragma once
// Renders a board headless and reads back pixels as straight (not premultiplied) ARGB.
#include <cairo.h>

#include <cstdint>
#include <cstring>

#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::ui::testing {

struct Pixel {
    unsigned a, r, g, b;
};

inline Pixel pixel_at(cairo_surface_t* frame, int x, int y) {
    cairo_surface_flush(frame);
    const unsigned char* row =
        cairo_image_surface_get_data(frame) + y * cairo_image_surface_get_stride(frame);
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    Pixel p{v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF};
    if (p.a != 0 && p.a != 255) {
        p.r = (p.r * 255 + p.a / 2) / p.a;
        p.g = (p.g * 255 + p.a / 2) / p.a;
        p.b = (p.b * 255 + p.a / 2) / p.a;
    }
    return p;
}

// True when the pixel matches `argb` within `tolerance` per channel.
inline bool near_color(Pixel p, std::uint32_t argb, unsigned tolerance = 3) {
    auto close = [&](unsigned a, unsigned b) { return (a > b ? a - b : b - a) <= tolerance; };
    return close(p.a, argb >> 24) && close(p.r, (argb >> 16) & 0xFF) &&
           close(p.g, (argb >> 8) & 0xFF) && close(p.b, argb & 0xFF);
}

// Counts pixels in a box whose alpha exceeds `min_alpha` (text presence probes).
inline int inked(cairo_surface_t* frame, int x, int y, int w, int h, unsigned min_alpha = 0x40) {
    int count = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (pixel_at(frame, i, j).a > min_alpha)
                ++count;
    return count;
}

}  // namespace zentrik::ui::testing
