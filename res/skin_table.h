#pragma once
// The image table that the build generates from the drawing code in skin_gen/.
#include <cstddef>
#include <cstdint>

namespace zentrik::res::detail {

struct PngEntry {
    int id;
    std::uint32_t offset;  // into kPngBlob
    std::uint32_t size;
    int width;  // as the PNG's header says, so that nobody reads the PNG just for its size
    int height;
};

// An image also stored ready to draw: premultiplied ARGB32 rows as cairo lays them out.
struct PixelEntry {
    int id;
    int width;
    int height;
    int stride;
    std::uint32_t offset;  // into kPngBlob, 16-byte aligned
};

// Sorted by id. The blob holds the PNG files, then the ready-to-draw pixels, then the PNG
// files of every image drawn at twice its size (for a window at scale 2).
extern const PngEntry kPngEntries[];
extern const std::size_t kPngEntryCount;
extern const PixelEntry kPixelEntries[];
extern const std::size_t kPixelEntryCount;
extern const PngEntry kDoublePngEntries[];
extern const std::size_t kDoublePngEntryCount;
extern const unsigned char* const kPngBlob;

}  // namespace zentrik::res::detail
