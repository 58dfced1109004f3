#include "res/skin_gen/canvas.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <stdexcept>

namespace zentrik::skin {

Rgba with_alpha(Rgba c, double alpha) {
    return {c.r, c.g, c.b, alpha};
}

Rgba mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot create a drawing surface");
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

std::vector<std::uint8_t> Canvas::png() const {
    std::vector<std::uint8_t> out;
    cairo_surface_flush(surface_);
    auto append = [](void* closure, const unsigned char* data, unsigned int length) {
        auto* v = static_cast<std::vector<std::uint8_t>*>(closure);
        v->insert(v->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    };
    if (cairo_surface_write_to_png_stream(surface_, append, &out) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot encode a PNG");
    }
    return out;
}

void set_color(cairo_t* cr, Rgba c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void chamfer_rect(cairo_t* cr, double x, double y, double w, double h, double cut) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x + cut, y);
    cairo_line_to(cr, x + w - cut, y);
    cairo_line_to(cr, x + w, y + cut);
    cairo_line_to(cr, x + w, y + h - cut);
    cairo_line_to(cr, x + w - cut, y + h);
    cairo_line_to(cr, x + cut, y + h);
    cairo_line_to(cr, x, y + h - cut);
    cairo_line_to(cr, x, y + cut);
    cairo_close_path(cr);
}

void fill_rounded(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c) {
    rounded_rect(cr, x, y, w, h, r);
    set_color(cr, c);
    cairo_fill(cr);
}

void stroke_rounded(cairo_t* cr, double x, double y, double w, double h, double r, Rgba c,
                    double width) {
    rounded_rect(cr, x, y, w, h, r);
    set_color(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void vertical_gradient(cairo_t* cr, double y0, double y1, Rgba top, Rgba bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_close_path(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1, Rgba c, double width) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    set_color(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void text(cairo_t* cr, const std::string& s, double px, bool bold, double x, double cy, Rgba c,
          Align align, double letter_spacing) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(font, px * PANGO_SCALE);
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    if (letter_spacing != 0.0) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs,
                               pango_attr_letter_spacing_new(int(letter_spacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout, s.c_str(), -1);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    double left = x - ink.x;
    if (align == Align::centre) {
        left = x - ink.x - ink.width / 2.0;
    } else if (align == Align::right) {
        left = x - ink.x - ink.width;
    }
    double top = cy - ink.y - ink.height / 2.0;
    cairo_move_to(cr, std::round(left), std::round(top));
    set_color(cr, c);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

}  // namespace zentrik::skin
