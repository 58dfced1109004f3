#pragma once
// Small drawing helpers shared by the skin painters: colours, shapes, text and PNG output.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrik::skin {

struct Rgba {
    double r, g, b, a;
};

// 0xRRGGBB with an opacity of 0..1.
constexpr Rgba rgb(std::uint32_t hex, double alpha = 1.0) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

Rgba with_alpha(Rgba c, double alpha);
Rgba mix(Rgba a, Rgba b, double t);

// An ARGB32 drawing surface of a fixed size, cleared to transparent.
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::vector<std::uint8_t> png() const;

  private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

void set_color(cairo_t* cr, Rgba c);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);
// A rectangle whose four corners are cut off at 45 degrees by `cut` pixels.
void chamfer_rect(cairo_t* cr, double x, double y, double w, double h, double cut);
void fill_rounded(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c);
void stroke_rounded(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c,
                    double line = 1.0);
// A vertical gradient from `top` to `bottom` over [y0, y1] as the current source.
void vertical_gradient(cairo_t* cr, double y0, double y1, Rgba top, Rgba bottom);
void circle(cairo_t* cr, double cx, double cy, double r);
void line(cairo_t* cr, double x0, double y0, double x1, double y1, Rgba c, double width);

enum class Align { left, centre, right };

// Draws one line of text with its ink centred vertically on `cy`; x is the left edge, the
// centre or the right edge according to `align`. `font` is a Pango family list.
void text(cairo_t* cr, const std::string& s, double px, bool bold, double x, double cy, Rgba c,
          Align align = Align::centre, double letter_spacing = 0.0);

}  // namespace zentrik::skin
