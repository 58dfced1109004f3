#include "ui/canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
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

Canvas::Canvas(cairo_t* cr, TextLayouts& layouts) : cr_(cr), layouts_(layouts) {
    double x_scale = 1, y_scale = 1;
    cairo_surface_get_device_scale(cairo_get_target(cr), &x_scale, &y_scale);
    scale_ = std::max(1, static_cast<int>(std::lround(x_scale)));
}

void Canvas::set_antialias(bool on) {
    cairo_set_antialias(cr_, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void Canvas::save() {
    cairo_save(cr_);
    saved_.push_back(rounded_.size());
}

void Canvas::restore() {
    cairo_restore(cr_);
    if (saved_.empty())
        return;
    const int depth = static_cast<int>(saved_.size());
    rounded_.resize(saved_.back());
    saved_.pop_back();
    // Clips made real inside the scope just closed went with cairo's state.
    for (RoundedClip& c : rounded_)
        if (c.real_depth >= depth)
            c.real_depth = -1;
}

namespace {
bool overlaps(double ax, double ay, double aw, double ah, double bx, double by, double bw,
              double bh) {
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}
}  // namespace

void Canvas::draw_clipped(double x, double y, double w, double h,
                          const std::function<void()>& draw) {
    for (RoundedClip& c : rounded_) {
        if (c.real_depth >= 0)
            continue;
        const double r = c.r;
        const bool corner = overlaps(x, y, w, h, c.x, c.y, r, r) ||
                            overlaps(x, y, w, h, c.x + c.w - r, c.y, r, r) ||
                            overlaps(x, y, w, h, c.x, c.y + c.h - r, r, r) ||
                            overlaps(x, y, w, h, c.x + c.w - r, c.y + c.h - r, r, r);
        if (!corner)
            continue;
        // From here on in this scope the rounded clip is a real one.
        cairo_new_path(cr_);
        rounded_path(c.x, c.y, c.w, c.h, c.r);
        cairo_clip(cr_);
        c.real_depth = static_cast<int>(saved_.size());
    }
    draw();
}

void Canvas::set_color(Argb c) {
    cairo_set_source_rgba(cr_, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          (c & 0xFF) / 255.0, (c >> 24) / 255.0);
}

void Canvas::fill_rect(double x, double y, double w, double h, Argb color) {
    if (w <= 0 || h <= 0)
        return;
    // A fill that covers a rounded clip's whole box is that rounded rectangle.
    if (rounded_.size() == 1 && rounded_.front().real_depth < 0) {
        const RoundedClip& c = rounded_.front();
        if (x <= c.x && y <= c.y && x + w >= c.x + c.w && y + h >= c.y + c.h) {
            set_color(color);
            rounded_path(c.x, c.y, c.w, c.h, c.r);
            cairo_fill(cr_);
            return;
        }
    }
    draw_clipped(x, y, w, h, [&] {
        set_color(color);
        cairo_rectangle(cr_, x, y, w, h);
        cairo_fill(cr_);
    });
}

void Canvas::fill_polygon(const double* p, int n, Argb color) {
    if (n < 3)
        return;
    double x0 = p[0], y0 = p[1], x1 = p[0], y1 = p[1];
    for (int i = 1; i < n; ++i) {
        x0 = std::min(x0, p[2 * i]);
        x1 = std::max(x1, p[2 * i]);
        y0 = std::min(y0, p[2 * i + 1]);
        y1 = std::max(y1, p[2 * i + 1]);
    }
    draw_clipped(x0, y0, x1 - x0 + 1, y1 - y0 + 1, [&] {
        set_color(color);
        cairo_move_to(cr_, p[0], p[1]);
        for (int i = 1; i < n; ++i)
            cairo_line_to(cr_, p[2 * i], p[2 * i + 1]);
        cairo_close_path(cr_);
        cairo_fill(cr_);
    });
}

void Canvas::line(double x1, double y1, double x2, double y2, Argb color, double width) {
    const double pad = width / 2 + 2;  // round caps included
    draw_clipped(std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::abs(x2 - x1) + 2 * pad,
                 std::abs(y2 - y1) + 2 * pad, [&] {
                     set_color(color);
                     cairo_set_line_width(cr_, width);
                     // Odd widths sit on pixel centres so the line covers whole pixels.
                     const double o = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
                     cairo_move_to(cr_, x1 + o, y1 + o);
                     cairo_line_to(cr_, x2 + o, y2 + o);
                     cairo_stroke(cr_);
                 });
}

void Canvas::stroke_rect(double x, double y, double w, double h, Argb color) {
    draw_clipped(x - 1, y - 1, w + 3, h + 3, [&] {
        set_color(color);
        cairo_set_line_width(cr_, 1);
        cairo_rectangle(cr_, x + 0.5, y + 0.5, w, h);
        cairo_stroke(cr_);
    });
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
    draw_clipped(x, y, w, h, [&] {
        set_color(color);
        rounded_path(x, y, w, h, r);
        cairo_fill(cr_);
    });
}

void Canvas::clip_rect(double x, double y, double w, double h) {
    cairo_rectangle(cr_, x, y, std::max(0.0, w), std::max(0.0, h));
    cairo_clip(cr_);
}

void Canvas::clip_rounded(double x, double y, double w, double h, double r) {
    clip_rect(x, y, w, h);
    r = std::min({r, w / 2, h / 2});
    if (r > 0)
        rounded_.push_back({x, y, w, h, r});
}

void Canvas::draw_image(const SkinImage* image, int x, int y) {
    cairo_surface_t* pixels = image ? image->surface_for_scale(scale_) : nullptr;
    if (!pixels)
        return;
    draw_clipped(x, y, image->width(), image->height(), [&] {
        cairo_set_source_surface(cr_, pixels, x, y);
        cairo_rectangle(cr_, x, y, image->width(), image->height());
        cairo_fill(cr_);
    });
}

void Canvas::text(std::string_view text, int font, Argb color, const BoxF& box, int align,
                  bool wrap) {
    if (text.empty() || box.w <= 0 || box.h <= 0)
        return;
    PangoLayout* layout = layouts_.get(text, font, static_cast<int>(box.w), align, wrap);
    int tw = 0;
    int th = 0;
    pango_layout_get_pixel_size(layout, &tw, &th);
    PangoRectangle ink;
    pango_layout_get_pixel_extents(layout, &ink, nullptr);
    const double top = std::floor(box.y + (box.h - th) / 2);
    cairo_save(cr_);
    cairo_rectangle(cr_, box.x, box.y, box.w, box.h);
    cairo_clip(cr_);
    draw_clipped(box.x + ink.x, top + ink.y, ink.width, ink.height, [&] {
        set_color(color);
        cairo_move_to(cr_, box.x, top);
        pango_cairo_show_layout(cr_, layout);
    });
    cairo_restore(cr_);
}

std::pair<int, int> Canvas::measure(std::string_view text, int font, int max_width) {
    PangoLayout* layout = layouts_.get(text, font, max_width, kNear, true);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return {logical.width, logical.height};
}

}  // namespace zentrik::ui
