#pragma once
// PNG bytes in memory decoded with cairo into premultiplied ARGB32 pixels: the one decoder the
// program, the image generator (which stores some images ready to draw) and the tests share, so
// all three see the same pixels.
#include <cstdint>
#include <span>

typedef struct _cairo_surface cairo_surface_t;

namespace zentrik::res {

// A new ARGB32 image surface of `png`, or null when the bytes do not decode (a half-read image
// is dropped). Opaque images, which cairo hands out as RGB24, come out with alpha 0xFF, so an
// opaque black pixel never reads as 0.
cairo_surface_t* decode_png_argb32(std::span<const std::uint8_t> png);

// A new ARGB32 image surface holding the pixels of any image surface.
cairo_surface_t* argb32_copy(cairo_surface_t* source);

}  // namespace zentrik::res
