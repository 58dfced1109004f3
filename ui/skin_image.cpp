#include "ui/skin_image.h"

#include <cairo.h>

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "res/png_decode.h"
#include "res/skin_resources.h"

namespace zentrik::ui {

namespace {

// Width and height from a PNG's signature and IHDR chunk; false when the bytes are no PNG.
bool png_size(std::span<const std::uint8_t> png, int& width, int& height) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 24 || std::memcmp(png.data(), kSignature, 8) != 0 ||
        std::memcmp(png.data() + 12, "IHDR", 4) != 0)
        return false;
    auto be32 = [&](std::size_t at) {
        return std::uint32_t{png[at]} << 24 | std::uint32_t{png[at + 1]} << 16 |
               std::uint32_t{png[at + 2]} << 8 | std::uint32_t{png[at + 3]};
    };
    const std::uint32_t w = be32(16), h = be32(20);
    // cairo's image surfaces stop at 32767 pixels a side.
    if (w == 0 || h == 0 || w > 32767 || h > 32767)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
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
        cairo_surface_t* converted = res::argb32_copy(surface);
        cairo_surface_destroy(surface);
        surface = converted;
    }
    surface_ = surface;
    decoded_ = surface != nullptr;
    if (surface_) {
        width_ = cairo_image_surface_get_width(surface_);
        height_ = cairo_image_surface_get_height(surface_);
    }
}

SkinImage::SkinImage(std::span<const std::uint8_t> png, int width, int height)
    : png_(png), width_(width), height_(height) {}

std::unique_ptr<SkinImage> SkinImage::from_png_on_demand(std::span<const std::uint8_t> png) {
    int width = 0, height = 0;
    if (!png_size(png, width, height))
        return nullptr;
    return std::unique_ptr<SkinImage>(new SkinImage(png, width, height));
}

std::unique_ptr<SkinImage> SkinImage::from_png_on_demand(std::span<const std::uint8_t> png,
                                                         int width, int height) {
    if (png.empty() || width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return nullptr;
    return std::unique_ptr<SkinImage>(new SkinImage(png, width, height));
}

std::unique_ptr<SkinImage> SkinImage::over_read_only_pixels(const std::uint8_t* data, int width,
                                                            int height, int stride) {
    // cairo only reads a source surface; set_pixel copies before it writes.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(data), CAIRO_FORMAT_ARGB32, width, height, stride);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto image = std::make_unique<SkinImage>(surface);
    image->read_only_ = true;
    return image;
}

cairo_surface_t* SkinImage::surface() const {
    if (!png_.empty()) {
        std::call_once(decode_once_, [this] {
            surface_ = res::decode_png_argb32(png_);
            // A picture whose header promised another size would be drawn out of place.
            if (surface_ && (cairo_image_surface_get_width(surface_) != width_ ||
                             cairo_image_surface_get_height(surface_) != height_)) {
                cairo_surface_destroy(surface_);
                surface_ = nullptr;
            }
            decoded_.store(true, std::memory_order_release);
        });
    }
    return surface_;
}

bool SkinImage::decoded() const {
    return decoded_.load(std::memory_order_acquire);
}

cairo_surface_t* SkinImage::surface_for_scale(int scale) const {
    if (scale != 2 || double_png_.empty())
        return surface();
    std::call_once(double_once_, [this] {
        cairo_surface_t* pixels = res::decode_png_argb32(double_png_);
        // Only a picture of exactly twice the size lines up with the image it stands for.
        if (pixels && (cairo_image_surface_get_width(pixels) != 2 * width_ ||
                       cairo_image_surface_get_height(pixels) != 2 * height_)) {
            cairo_surface_destroy(pixels);
            pixels = nullptr;
        }
        if (pixels)
            cairo_surface_set_device_scale(pixels, 2, 2);
        double_surface_ = pixels;
        double_decoded_.store(true, std::memory_order_release);
    });
    return double_surface_ ? double_surface_ : surface();
}

bool SkinImage::double_decoded() const {
    return double_decoded_.load(std::memory_order_acquire) && double_surface_;
}

SkinImage::~SkinImage() {
    if (surface_)
        cairo_surface_destroy(surface_);
    if (double_surface_)
        cairo_surface_destroy(double_surface_);
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
    cairo_surface_t* pixels = surface();
    if (!pixels || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    cairo_surface_flush(pixels);
    const unsigned char* row =
        cairo_image_surface_get_data(pixels) + y * cairo_image_surface_get_stride(pixels);
    std::uint32_t value;
    std::memcpy(&value, row + 4 * x, 4);
    return value;
}

void SkinImage::set_pixel(int x, int y, std::uint32_t value) {
    cairo_surface_t* pixels = surface();
    if (!pixels || x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    // The picture at twice the size would no longer show these pixels.
    double_png_ = {};
    if (read_only_) {
        // Pixels in the program's read-only data: write into a copy from now on.
        cairo_surface_t* copy = res::argb32_copy(pixels);
        cairo_surface_destroy(pixels);
        surface_ = pixels = copy;
        read_only_ = false;
    }
    cairo_surface_flush(pixels);
    unsigned char* row =
        cairo_image_surface_get_data(pixels) + y * cairo_image_surface_get_stride(pixels);
    std::memcpy(row + 4 * x, &value, 4);
    cairo_surface_mark_dirty(pixels);
}

std::unique_ptr<SkinImage> decode_png(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return nullptr;
    cairo_surface_t* surface = res::decode_png_argb32(bytes);
    return surface ? std::make_unique<SkinImage>(surface) : nullptr;
}

const SkinImage* load_skin_image(int id) {
    if (id == 0)
        return nullptr;
    ImageCache& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto it = c.by_id.find(id); it != c.by_id.end())
        return it->second;
    std::unique_ptr<SkinImage> image;
    if (const res::SkinPixels ready = res::skin_pixels(id); ready.data)
        image =
            SkinImage::over_read_only_pixels(ready.data, ready.width, ready.height, ready.stride);
    else if (const res::SkinSize size = res::skin_png_size(id); size.width > 0)
        // The build's table knows the size: the window is built without reading any PNG.
        image = SkinImage::from_png_on_demand(res::skin_png(id), size.width, size.height);
    if (image)
        image->set_double_png(res::skin_png_double(id));
    const SkinImage* result = image.get();
    if (image)
        c.owned.push_back(std::move(image));
    c.by_id[id] = result;  // a missing image is remembered too: look once
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
    cairo_surface_t* pixels = image ? image->surface() : nullptr;
    if (!pixels)
        return region;
    const int w = image->width();
    const int h = image->height();
    region.rects.reserve(static_cast<std::size_t>(h) + 2);
    cairo_surface_flush(pixels);
    const unsigned char* data = cairo_image_surface_get_data(pixels);
    const int stride = cairo_image_surface_get_stride(pixels);
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
