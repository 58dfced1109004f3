#include "ui/canvas.h"

#include <pango/pangocairo.h>

#include <cmath>

#include "ui/fonts.h"
#include "ui/skin_image.h"
#include "ui/widget.h"

namespace zentrik::ui {

namespace {
// Beyond this many distinct texts the cache starts over (texts change rarely).
constexpr std::size_t kMaxLayouts = 2048;
}  // namespace

TextLayouts::TextLayouts() {
    build_font_tables();
    context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
}

TextLayouts::~TextLayouts() {
    for (auto& [key, layout] : cache_)
        g_object_unref(layout);
    g_object_unref(context_);
}

PangoLayout* TextLayouts::get(std::string_view text, int font, int width, int align, bool wrap) {
    Key key{std::string(text), font, width, align, wrap};
    if (auto it = cache_.find(key); it != cache_.end())
        return it->second;
    if (cache_.size() >= kMaxLayouts) {
        for (auto& [k, layout] : cache_)
            g_object_unref(layout);
        cache_.clear();
    }
    PangoLayout* layout = pango_layout_new(context_);
    pango_layout_set_font_description(layout, font_entry(font).description);
    pango_layout_set_text(layout, std::get<0>(key).data(), static_cast<int>(text.size()));
    if (width > 0)
        pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    if (!wrap)
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_alignment(layout, align == kCentre ? PANGO_ALIGN_CENTER
                                       : align == kFar  ? PANGO_ALIGN_RIGHT
                                                        : PANGO_ALIGN_LEFT);
    cache_.emplace(std::move(key), layout);
    return layout;
}

void Canvas::set_antialias(bool on) {
    cairo_set_antialias(cr_, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void Canvas::save() {
    cairo_save(cr_);
}
void Canvas::restore() {
    cairo_restore(cr_);
}

void Canvas::set_color(Argb c) {
    cairo_set_source_rgba(cr_, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          (c & 0xFF) / 255.0, (c >> 24) / 255.0);
}

void Canvas::fill_rect(double x, double y, double w, double h, Argb color) {
    if (w <= 0 || h <= 0)
        return;
    set_color(color);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Canvas::line(double x1, double y1, double x2, double y2, Argb color, double width) {
    set_color(color);
    cairo_set_line_width(cr_, width);
    // Odd widths sit on pixel centres so the line covers whole pixels.
    const double o = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
    cairo_move_to(cr_, x1 + o, y1 + o);
    cairo_line_to(cr_, x2 + o, y2 + o);
    cairo_stroke(cr_);
}

void Canvas::stroke_rect(double x, double y, double w, double h, Argb color) {
    set_color(color);
    cairo_set_line_width(cr_, 1);
    cairo_rectangle(cr_, x + 0.5, y + 0.5, w, h);
    cairo_stroke(cr_);
}

void Canvas::rounded_path(double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    if (r <= 0) {
        cairo_rectangle(cr_, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Canvas::fill_rounded(double x, double y, double w, double h, double r, Argb color) {
    if (w <= 0 || h <= 0)
        return;
    set_color(color);
    rounded_path(x, y, w, h, r);
    cairo_fill(cr_);
}

void Canvas::clip_rect(double x, double y, double w, double h) {
    cairo_rectangle(cr_, x, y, std::max(0.0, w), std::max(0.0, h));
    cairo_clip(cr_);
}

void Canvas::clip_rounded(double x, double y, double w, double h, double r) {
    if (w <= 0 || h <= 0) {
        clip_rect(x, y, 0, 0);
        return;
    }
    rounded_path(x, y, w, h, r);
    cairo_clip(cr_);
}

void Canvas::draw_image(const SkinImage* image, int x, int y) {
    if (!image || !image->surface())
        return;
    cairo_set_source_surface(cr_, image->surface(), x, y);
    cairo_rectangle(cr_, x, y, image->width(), image->height());
    cairo_fill(cr_);
}

void Canvas::text(std::string_view text, int font, Argb color, const BoxF& box, int align,
                  bool wrap) {
    if (text.empty() || box.w <= 0 || box.h <= 0)
        return;
    PangoLayout* layout = layouts_.get(text, font, static_cast<int>(box.w), align, wrap);
    int tw = 0;
    int th = 0;
    pango_layout_get_pixel_size(layout, &tw, &th);
    cairo_save(cr_);
    clip_rect(box.x, box.y, box.w, box.h);
    set_color(color);
    cairo_move_to(cr_, box.x, std::floor(box.y + (box.h - th) / 2));
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
}

std::pair<int, int> Canvas::measure(std::string_view text, int font, int max_width) {
    PangoLayout* layout = layouts_.get(text, font, max_width, kNear, true);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return {logical.width, logical.height};
}

}  // namespace zentrik::ui
