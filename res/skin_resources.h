#pragma once
// The program's built-in images (skin images, icon, cursors), addressed by resource id.
// The PNG files are made at build time from the drawing code in skin_gen/ (see README.md here).
#include <cstdint>
#include <span>
#include <vector>

#include "res/cursor_hotspots.h"

namespace zentrik::res {

// The PNG bytes of image `id`; empty when there is no such image (id 0 is none).
std::span<const std::uint8_t> skin_png(int id);

// The size of image `id` (as its PNG's header gives it), known without reading the PNG;
// 0 x 0 when there is no such image.
struct SkinSize {
    int width = 0;
    int height = 0;
};
SkinSize skin_png_size(int id);

// An image stored ready to draw: premultiplied ARGB32 rows in cairo's layout (native-endian
// 32-bit pixels), exactly what decoding its PNG gives. Read-only; lives as long as the program.
struct SkinPixels {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// The ready-to-draw pixels of image `id`, for the few images stored that way (those the
// first frame needs); data is null for every other id.
SkinPixels skin_pixels(int id);

// The PNG bytes of image `id` drawn at twice its size (for a window at scale 2: the same
// drawing code, not an enlargement); empty when there is no such image.
std::span<const std::uint8_t> skin_png_double(int id);

// Every id that has an image, ascending.
std::vector<int> skin_image_ids();

// The hot spot of cursor picture 202 or 203; (0, 0) for any other id.
CursorHotspot cursor_hotspot(int id);

}  // namespace zentrik::res
