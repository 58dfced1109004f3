// Image lookup over the table that the build generates (see README.md here).
#include "res/skin_resources.h"

#include <algorithm>

#include "res/skin_table.h"

namespace zentrik::res {

namespace {

std::span<const detail::PngEntry> entries() {
    return {detail::kPngEntries, detail::kPngEntryCount};
}

const detail::PngEntry* find_entry(int id, std::span<const detail::PngEntry> table = entries()) {
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const detail::PngEntry& e, int v) { return e.id < v; });
    return it == table.end() || it->id != id ? nullptr : &*it;
}

std::span<const std::uint8_t> png_bytes(const detail::PngEntry* e) {
    if (!e) {
        return {};
    }
    return {detail::kPngBlob + e->offset, e->size};
}

}  // namespace

std::span<const std::uint8_t> skin_png(int id) {
    return png_bytes(find_entry(id));
}

std::span<const std::uint8_t> skin_png_double(int id) {
    return png_bytes(find_entry(id, {detail::kDoublePngEntries, detail::kDoublePngEntryCount}));
}

SkinSize skin_png_size(int id) {
    const detail::PngEntry* e = find_entry(id);
    return e ? SkinSize{e->width, e->height} : SkinSize{};
}

SkinPixels skin_pixels(int id) {
    if (id == 0)
        return {};
    for (std::size_t i = 0; i < detail::kPixelEntryCount; ++i) {
        const detail::PixelEntry& e = detail::kPixelEntries[i];
        if (e.id == id)
            return {detail::kPngBlob + e.offset, e.width, e.height, e.stride};
    }
    return {};
}

std::vector<int> skin_image_ids() {
    std::vector<int> ids;
    ids.reserve(detail::kPngEntryCount);
    for (const auto& e : entries()) {
        ids.push_back(e.id);
    }
    return ids;
}

CursorHotspot cursor_hotspot(int id) {
    if (id == kCursorActive) {
        return kCursorActiveHotspot;
    }
    if (id == kCursorDrag) {
        return kCursorDragHotspot;
    }
    return {0, 0};
}

}  // namespace zentrik::res
