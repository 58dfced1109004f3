#pragma once
// Drawing primitives on a cairo context with the window's conventions: ARGB colours,
// integer boxes, 1-pixel lines on pixel centres, rounded clips, and text into a box
// (centred vertically, alignment near/centre/far, clipped to the box).
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "ui/geometry.h"

typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace zentrik::ui {

class SkinImage;

struct BoxF {
    double x = 0, y = 0, w = 0, h = 0;
};

// Pango layouts keyed by what decides their shape, so an unchanged text is laid out once.
class TextLayouts {
  public:
    TextLayouts();
    ~TextLayouts();
    TextLayouts(const TextLayouts&) = delete;
    TextLayouts& operator=(const TextLayouts&) = delete;

    PangoLayout* get(std::string_view text, int font, int width, int align, bool wrap);

  private:
    using Key = std::tuple<std::string, int, int, int, bool>;
    PangoContext* context_ = nullptr;
    std::map<Key, PangoLayout*> cache_;
};

class Canvas {
  public:
    // Draws in window pixels; a target with a device scale (a window at scale 2) gets the
    // images' pictures made for that scale and text rendered at its resolution.
    Canvas(cairo_t* cr, TextLayouts& layouts);

    cairo_t* cr() const { return cr_; }
    // Device pixels per window pixel of the target.
    int scale() const { return scale_; }
    void set_antialias(bool on);
    void save();
    void restore();

    void set_color(Argb color);
    void fill_rect(double x, double y, double w, double h, Argb color);
    // 1-pixel (or `width`) line between pixel positions.
    void line(double x1, double y1, double x2, double y2, Argb color, double width = 1);
    void stroke_rect(double x, double y, double w, double h, Argb color);
    void rounded_path(double x, double y, double w, double h, double radius);
    void fill_rounded(double x, double y, double w, double h, double radius, Argb color);
    void clip_rect(double x, double y, double w, double h);
    void clip_rounded(double x, double y, double w, double h, double radius);
    void draw_image(const SkinImage* image, int x, int y);
    // Text centred vertically in the box; `align` 0 near, 1 centre, 2 far.
    void text(std::string_view text, int font, Argb color, const BoxF& box, int align,
              bool wrap = true);
    // Measured size of a text in a font (unwrapped within `max_width`).
    std::pair<int, int> measure(std::string_view text, int font, int max_width);
    // A filled closed polygon of `n` points (x0, y0, x1, y1, ...).
    void fill_polygon(const double* points, int n, Argb color);

  private:
    // Rounded clips are kept as a rectangular cairo clip plus the rounded rectangle; only
    // drawings that reach into a rounded corner pay for a real (mask) clip.
    struct RoundedClip {
        double x, y, w, h, r;
        int real_depth = -1;  // save depth at which it became a real cairo clip; -1 not yet
    };
    void draw_clipped(double x, double y, double w, double h, const std::function<void()>& draw);

    cairo_t* cr_;
    TextLayouts& layouts_;
    int scale_ = 1;
    std::vector<RoundedClip> rounded_;
    std::vector<std::size_t> saved_;
};

// Colour with its alpha replaced.
inline Argb with_alpha(Argb color, unsigned alpha) {
    return (color & 0x00FFFFFF) | (alpha << 24);
}

}  // namespace zentrik::ui
