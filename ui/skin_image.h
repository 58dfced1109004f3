#pragma once
// Skin images: PNG resources decoded into premultiplied ARGB32 pixels and kept for the life of
// the program. Widgets hold plain pointers to them; id 0 means no image. A built-in image knows
// its size from the PNG header at once but decodes its pixels only when something first asks
// for them, so the window builds every page while decoding only what the shown page paints.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "ui/geometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace zentrik::ui {

class SkinImage {
  public:
    // Takes ownership of an ARGB32 image surface (any other format is converted).
    explicit SkinImage(cairo_surface_t* surface);
    // An image of PNG bytes that outlive it (built-in resources), decoded on first use. The
    // size comes from the PNG header; null when the bytes do not start like a PNG.
    static std::unique_ptr<SkinImage> from_png_on_demand(std::span<const std::uint8_t> png);
    // The same with the size already known (built-in images): the PNG's bytes are not read
    // until the pixels are needed. A PNG that decodes to another size draws nothing.
    static std::unique_ptr<SkinImage> from_png_on_demand(std::span<const std::uint8_t> png,
                                                         int width, int height);
    // An image over premultiplied ARGB32 rows that outlive it and are never written (built-in
    // pixels stored ready to draw); nothing is decoded or copied.
    static std::unique_ptr<SkinImage> over_read_only_pixels(const std::uint8_t* data, int width,
                                                            int height, int stride);
    ~SkinImage();
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;

    // An image of the given size filled with one premultiplied ARGB pixel value.
    static std::unique_ptr<SkinImage> filled(int width, int height, std::uint32_t pixel);

    // The pixels (decoded now if they were not yet); null when the PNG does not decode.
    cairo_surface_t* surface() const;
    // The pixels to draw on a target of `scale` device pixels per window pixel: at scale 2 the
    // picture drawn at twice the size (decoded the first time it is asked for, with that device
    // scale set, so it is placed in window pixels), else surface(). An image without such a
    // picture, or whose pixels were changed, gives surface().
    cairo_surface_t* surface_for_scale(int scale) const;
    // Gives the image its picture at twice the size: PNG bytes that outlive it, decoded on
    // first use at scale 2. Call before the image is shared between threads.
    void set_double_png(std::span<const std::uint8_t> png) { double_png_ = png; }
    // Whether the picture at twice the size is in memory (for tests and measurements).
    bool double_decoded() const;
    int width() const { return width_; }
    int height() const { return height_; }
    // Whether the pixels are in memory (for tests and measurements).
    bool decoded() const;
    // Premultiplied ARGB pixel at (x, y); 0 outside the image.
    std::uint32_t pixel(int x, int y) const;
    // Writes one premultiplied ARGB pixel (for images made by code and by tests); an image over
    // read-only pixels gets its own copy first.
    void set_pixel(int x, int y, std::uint32_t value);

  private:
    SkinImage(std::span<const std::uint8_t> png, int width, int height);

    mutable std::once_flag decode_once_;
    mutable std::atomic<bool> decoded_{false};
    mutable cairo_surface_t* surface_ = nullptr;
    std::span<const std::uint8_t> png_;  // empty for images made from pixels
    // The picture at twice the size, made only when a window at scale 2 draws the image.
    std::span<const std::uint8_t> double_png_;
    mutable std::once_flag double_once_;
    mutable std::atomic<bool> double_decoded_{false};
    mutable cairo_surface_t* double_surface_ = nullptr;
    bool read_only_ = false;
    int width_ = 0;
    int height_ = 0;
};

// Decodes PNG bytes; null when they are not a decodable PNG.
std::unique_ptr<SkinImage> decode_png(std::span<const std::uint8_t> bytes);

// The image of built-in resource `id`, decoded on first use and kept; null for id 0 and for
// ids without a decodable image. Its picture at twice the size comes with it (decoded only when
// drawn at scale 2). Thread-safe.
const SkinImage* load_skin_image(int id);

// Puts an image under `id` in the cache, replacing what the resources would give (images made
// by code, and test images). The previous image of that id stays allocated, so pointers that
// widgets already hold remain valid.
const SkinImage* install_skin_image(int id, std::unique_ptr<SkinImage> image);

// Natural size; 0 for no image.
inline int image_width(const SkinImage* image) {
    return image ? image->width() : 0;
}
inline int image_height(const SkinImage* image) {
    return image ? image->height() : 0;
}

// The pixels whose 32-bit value is not 0, one rectangle per run of such pixels in a row, in
// image coordinates. A fully transparent image gives an empty region.
Region region_from_alpha(const SkinImage* image);

}  // namespace zentrik::ui
