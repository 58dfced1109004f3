#include "window_pictures.h"

#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace startup_bench {
namespace {

std::optional<Picture> from_image(XImage* image) {
    if (!image)
        return std::nullopt;
    std::optional<Picture> out;
    if (image->bits_per_pixel == 32) {
        out.emplace();
        out->width = image->width;
        out->height = image->height;
        out->pixels.resize(static_cast<std::size_t>(image->width) * image->height);
        for (int y = 0; y < image->height; ++y)
            std::memcpy(&out->pixels[static_cast<std::size_t>(y) * image->width],
                        image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line,
                        static_cast<std::size_t>(image->width) * 4);
    }
    XDestroyImage(image);
    return out;
}

std::uint32_t rgb(std::uint32_t v) {
    return v & 0xFFFFFF;
}

}  // namespace

std::uint64_t Picture::hash() const {
    std::uint64_t h = 1469598103934665603ULL;
    for (std::uint32_t v : pixels)
        h = (h ^ v) * 1099511628211ULL;
    return h;
}

Picture capture_screen(Display* dpy) {
    const Window root = DefaultRootWindow(dpy);
    XWindowAttributes a{};
    XGetWindowAttributes(dpy, root, &a);
    auto picture = from_image(XGetImage(dpy, root, 0, 0, static_cast<unsigned>(a.width),
                                        static_cast<unsigned>(a.height), AllPlanes, ZPixmap));
    return picture ? *picture : Picture{};
}

std::optional<Picture> capture_window(Display* dpy, Window w, int width, int height,
                                      const Picture* behind) {
    XImage* image = XGetImage(dpy, w, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    const bool has_alpha = image && image->depth == 32;
    auto picture = from_image(image);
    if (!picture || !behind)
        return picture;
    int left = 0, top = 0;
    Window child;
    XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), 0, 0, &left, &top, &child);
    for (int y = 0; y < picture->height; ++y)
        for (int x = 0; x < picture->width; ++x) {
            const std::uint32_t v = picture->pixels[static_cast<std::size_t>(y) * width + x];
            if (has_alpha && (v >> 24) == 0)
                continue;  // transparent: shows nothing of its own
            const int sx = left + x, sy = top + y;
            const bool on_screen = sx >= 0 && sy >= 0 && sx < behind->width && sy < behind->height;
            const std::uint32_t under =
                on_screen ? behind->pixels[static_cast<std::size_t>(sy) * behind->width + sx] : 0;
            if (rgb(v) != rgb(under))
                return picture;
        }
    return std::nullopt;
}

std::optional<Picture> load_png(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    std::optional<Picture> out;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
        cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32) {
        out.emplace();
        out->width = cairo_image_surface_get_width(s);
        out->height = cairo_image_surface_get_height(s);
        out->pixels.resize(static_cast<std::size_t>(out->width) * out->height);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < out->height; ++y)
            std::memcpy(&out->pixels[static_cast<std::size_t>(y) * out->width],
                        data + static_cast<std::ptrdiff_t>(y) * stride,
                        static_cast<std::size_t>(out->width) * 4);
    }
    cairo_surface_destroy(s);
    return out;
}

bool same_picture(const Picture& shown, const Picture& reference, int tolerance) {
    if (shown.width != reference.width || shown.height != reference.height)
        return false;
    for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
        const std::uint32_t want = reference.pixels[i];
        if ((want >> 24) == 0)
            continue;  // outside the window's shape
        const std::uint32_t got = shown.pixels[i];
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((got >> shift) & 0xFF);
            const int b = static_cast<int>((want >> shift) & 0xFF);
            if (std::abs(a - b) > tolerance)
                return false;
        }
    }
    return true;
}

void write_ppm(const Picture& picture, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (std::uint32_t v : picture.pixels) {
        const char bytes[3] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                               static_cast<char>(v)};
        out.write(bytes, 3);
    }
}

}  // namespace startup_bench
