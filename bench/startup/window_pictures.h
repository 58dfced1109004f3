#pragma once
// Pictures of a watched window: read back from the X server, told apart from the screen
// behind the window, and compared with a reference picture of a finished page.
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace startup_bench {

// 32-bit pixels, 0xAARRGGBB (the alpha byte is meaningful only for a depth-32 window).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint64_t hash() const;
};

// The whole screen before a start, to tell a window that shows only what lies behind it (a
// fresh window's contents before its first paint) from one that shows a picture.
Picture capture_screen(Display* dpy);

// The window's pixels now; nothing when they cannot be read, or when `behind` is given and
// the window shows only the screen under it.
std::optional<Picture> capture_window(Display* dpy, Window w, int width, int height,
                                      const Picture* behind = nullptr);

// A reference picture from a PNG (premultiplied like a window's pixels); nothing when the
// file cannot be read.
std::optional<Picture> load_png(const std::string& path);

// Whether `shown` is `reference`: every pixel inside the reference's opaque area (the window's
// shape) has the same colour, within `tolerance` per channel (a PNG stores colours without
// premultiplying, so a round trip through one may move a channel by one step).
bool same_picture(const Picture& shown, const Picture& reference, int tolerance = 2);

// Saves the picture as a PPM (colours only).
void write_ppm(const Picture& picture, const std::string& path);

}  // namespace startup_bench
