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

// Every id that has an image, ascending.
std::vector<int> skin_image_ids();

// The hot spot of cursor picture 202 or 203; (0, 0) for any other id.
CursorHotspot cursor_hotspot(int id);

}  // namespace zentrik::res
