#include "ui/skin_image.h"

#include <cairo.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "res/skin_resources.h"

namespace zentrik::ui {

namespace {

// Reads PNG bytes for cairo's stream decoder.
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

// Converts any image surface to a new ARGB32 surface (opaque formats become alpha 0xFF, so an
// opaque black pixel never reads as 0).
cairo_surface_t* to_argb32(cairo_surface_t* source) {
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

struct ImageCache {
    std::mutex mutex;
    std::map<int, const SkinImage*> by_id;
    // Every image ever made stays here until the program ends.
    std::vector<std::unique_ptr<SkinImage>> owned;
};

ImageCache& cache() {
    static ImageCache instance;
    return instance;
}

}  // namespace

SkinImage::SkinImage(cairo_surface_t* surface) {
    if (surface && cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        cairo_surface_t* converted = to_argb32(surface);
        cairo_surface_destroy(surface);
        surface = converted;
    }
    surface_ = surface;
    if (surface_) {
        width_ = cairo_image_surface_get_width(surface_);
        height_ = cairo_image_surface_get_height(surface_);
    }
}

SkinImage::~SkinImage() {
    if (surface_)
        cairo_surface_destroy(surface_);
}

std::unique_ptr<SkinImage> SkinImage::filled(int width, int height, std::uint32_t pixel) {
    auto image =
        std::make_unique<SkinImage>(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->set_pixel(x, y, pixel);
    return image;
}

std::uint32_t SkinImage::pixel(int x, int y) const {
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    std::uint32_t value;
    std::memcpy(&value, row + 4 * x, 4);
    return value;
}

void SkinImage::set_pixel(int x, int y, std::uint32_t value) {
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    cairo_surface_flush(surface_);
    unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    std::memcpy(row + 4 * x, &value, 4);
    cairo_surface_mark_dirty(surface_);
}

std::unique_ptr<SkinImage> decode_png(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return nullptr;
    PngReader reader{bytes};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read_png_chunk, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);  // the half-made image is dropped
        return nullptr;
    }
    return std::make_unique<SkinImage>(surface);
}

const SkinImage* load_skin_image(int id) {
    if (id == 0)
        return nullptr;
    ImageCache& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto it = c.by_id.find(id); it != c.by_id.end())
        return it->second;
    std::unique_ptr<SkinImage> image = decode_png(res::skin_png(id));
    const SkinImage* result = image.get();
    if (image)
        c.owned.push_back(std::move(image));
    c.by_id[id] = result;  // a missing image is remembered too: decode once
    return result;
}

const SkinImage* install_skin_image(int id, std::unique_ptr<SkinImage> image) {
    ImageCache& c = cache();
    std::lock_guard lock(c.mutex);
    const SkinImage* result = image.get();
    if (image)
        c.owned.push_back(std::move(image));
    c.by_id[id] = result;
    return result;
}

Region region_from_alpha(const SkinImage* image) {
    Region region;
    if (!image || !image->surface())
        return region;
    const int w = image->width();
    const int h = image->height();
    region.rects.reserve(static_cast<std::size_t>(h) + 2);
    cairo_surface_flush(image->surface());
    const unsigned char* data = cairo_image_surface_get_data(image->surface());
    const int stride = cairo_image_surface_get_stride(image->surface());
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = data + y * stride;
        int run_start = -1;
        for (int x = 0; x < w; ++x) {
            std::uint32_t value;
            std::memcpy(&value, row + 4 * x, 4);
            if (value != 0) {
                if (run_start < 0)
                    run_start = x;
            } else if (run_start >= 0) {
                region.rects.push_back({run_start, y, x, y + 1});
                run_start = -1;
            }
        }
        if (run_start >= 0)
            region.rects.push_back({run_start, y, w, y + 1});
    }
    return region;
}

}  // namespace zentrik::ui
