#pragma once
// Rectangles and regions in client pixels of the main window.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace zentrik::ui {

// 32-bit colour, alpha in the top byte.
using Argb = std::uint32_t;

// A rectangle with exclusive right and bottom edges.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

// Smallest rectangle holding both (an empty rectangle adds nothing).
inline Rect united(const Rect& a, const Rect& b) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// Whether two rectangles share a pixel.
inline bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A set of pixels made of rectangles (one per opaque run of an image row).
struct Region {
    std::vector<Rect> rects;

    bool empty() const { return rects.empty(); }
    bool contains(int x, int y) const {
        return std::any_of(rects.begin(), rects.end(),
                           [&](const Rect& r) { return r.contains(x, y); });
    }
    void offset(int dx, int dy) {
        for (Rect& r : rects) {
            r.left += dx;
            r.right += dx;
            r.top += dy;
            r.bottom += dy;
        }
    }
    Rect bounds() const {
        Rect b;
        for (const Rect& r : rects)
            b = united(b, r);
        return b;
    }
};

}  // namespace zentrik::ui
