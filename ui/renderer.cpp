#include "ui/renderer.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/fonts.h"
#include "ui/paint_focus.h"
#include "ui/painters.h"
#include "ui/skin_image.h"
#include "ui/ui_texts.h"

namespace zentrik::ui {

void ProgressOverlay::show(double fraction, std::string message) {
    set_message(std::move(message));
    fraction_ = std::clamp(fraction, 0.0, 1.0);
    shown_ = true;
}

void ProgressOverlay::hide() {
    shown_ = false;
}

void ProgressOverlay::set_progress(WidgetBoard& board, double fraction) {
    if (!shown_)
        return;
    fraction_ = std::clamp(fraction, 0.0, 1.0);
    board.invalidate_rect(bar_area(kWindowWidth, kWindowHeight));
}

void ProgressOverlay::set_message(std::string message) {
    std::lock_guard lock(mutex_);
    message_ = std::move(message);
}

std::string ProgressOverlay::message() const {
    std::lock_guard lock(mutex_);
    return message_;
}

Rect ProgressOverlay::bar_area(int w, int h) {
    // The message, the bar and the percentage.
    return {w / 2 - 182, h / 2 - 41, w / 2 + 201, h / 2 + 21};
}

Renderer::Renderer(WidgetBoard& board) : Renderer(board, load_skin_image(kBackgroundImage)) {}

Renderer::Renderer(WidgetBoard& board, const SkinImage* background)
    : board_(board), background_image_(background) {
    hooks_.pinned_label = texts::caption(8);
    hooks_.closing_text = texts::caption(9);
    if (background) {
        width_ = background->width();
        height_ = background->height();
    }
}

Renderer::~Renderer() {
    if (frame_)
        cairo_surface_destroy(frame_);
    if (background_)
        cairo_surface_destroy(background_);
}

void Renderer::set_scale(int scale) {
    scale = std::clamp(scale, 1, 2);
    if (scale == scale_)
        return;
    scale_ = scale;
    // The next compose makes a frame, background and layer of the new size.
    if (frame_)
        cairo_surface_destroy(frame_);
    if (background_)
        cairo_surface_destroy(background_);
    frame_ = background_ = nullptr;
    layer_.clear();
}

cairo_surface_t* Renderer::make_frame() const {
    const int pixel_width = width_ * scale_, pixel_height = height_ * scale_;
    cairo_surface_t* frame = frame_factory_ ? frame_factory_(pixel_width, pixel_height) : nullptr;
    if (frame && (cairo_surface_status(frame) != CAIRO_STATUS_SUCCESS ||
                  cairo_surface_get_type(frame) != CAIRO_SURFACE_TYPE_IMAGE ||
                  cairo_image_surface_get_format(frame) != CAIRO_FORMAT_ARGB32 ||
                  cairo_image_surface_get_width(frame) != pixel_width ||
                  cairo_image_surface_get_height(frame) != pixel_height)) {
        cairo_surface_destroy(frame);
        frame = nullptr;
    }
    if (!frame)
        frame = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixel_width, pixel_height);
    // Everything is drawn in window pixels.
    cairo_surface_set_device_scale(frame, scale_, scale_);
    return frame;
}

cairo_surface_t* Renderer::background_pixels() const {
    const int pixel_width = width_ * scale_, pixel_height = height_ * scale_;
    // The background image itself serves when its pixels line up with the frame's (they do for
    // the built-in background): a second copy would only cost memory.
    cairo_surface_t* image =
        background_image_ ? background_image_->surface_for_scale(scale_) : nullptr;
    if (image && cairo_image_surface_get_width(image) == pixel_width &&
        cairo_image_surface_get_height(image) == pixel_height &&
        cairo_image_surface_get_stride(image) == cairo_image_surface_get_stride(frame_)) {
        cairo_surface_flush(image);
        return cairo_surface_reference(image);
    }
    // The copy is laid out as the frame is (a window system's frame may have wider rows), so
    // a frame starts with one plain copy of it.
    const int stride = cairo_image_surface_get_stride(frame_);
    auto* data = static_cast<unsigned char*>(std::calloc(std::size_t(stride) * pixel_height, 1));
    cairo_surface_t* copy = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32,
                                                                pixel_width, pixel_height, stride);
    static cairo_user_data_key_t owned_pixels;
    cairo_surface_set_user_data(copy, &owned_pixels, data, std::free);
    cairo_surface_set_device_scale(copy, scale_, scale_);
    if (image) {
        cairo_t* cr = cairo_create(copy);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    cairo_surface_flush(copy);
    return copy;
}

cairo_surface_t* Renderer::compose(const OverlayState& overlay) {
    if (!frame_) {
        frame_ = make_frame();
        background_ = background_pixels();
    }
    cairo_surface_flush(frame_);
    auto* pixels = cairo_image_surface_get_data(frame_);
    const auto* background = cairo_image_surface_get_data(background_);
    const int stride = cairo_image_surface_get_stride(frame_);

    WidgetBoard::Lock lock = board_.lock();
    const bool ready = board_.paint_ready;
    std::vector<const Widget*> order;
    if (ready)
        order = drawing_order();
    const int pixel_height = height_ * scale_;
    if (ready && layer_enabled_) {
        layer_.plan(order, board_, hooks_, width_, height_, scale_);
    } else {
        layer_.clear();
    }
    switch (layer_.work()) {
        case WidgetLayer::Work::kRepaint:
            std::memcpy(pixels, background, static_cast<std::size_t>(stride) * pixel_height);
            paint_layer(nullptr);
            layer_.store(pixels, stride);
            break;
        case WidgetLayer::Work::kPatch:
            layer_.copy_into(pixels, background, stride, pixel_height);
            for (const Rect& r : layer_.patches()) {
                const std::size_t left = std::size_t(r.left) * 4;
                for (int y = r.top; y < r.bottom; ++y)
                    std::memcpy(pixels + std::size_t(stride) * y + left,
                                background + std::size_t(stride) * y + left,
                                std::size_t(r.width()) * 4);
                paint_layer(&r);
            }
            layer_.store(pixels, stride);
            break;
        case WidgetLayer::Work::kNone:
            layer_.copy_into(pixels, background, stride, pixel_height);
            break;
    }
    cairo_surface_mark_dirty(frame_);

    cairo_t* cr = cairo_create(frame_);
    Canvas canvas(cr, layouts_);
    if (ready) {
        canvas.set_antialias(false);
        for (const Widget* w : layer_enabled_ ? layer_.live_widgets() : order)
            paint_widget(canvas, *w);
        paint_focus(canvas, board_);
        paint_tooltip(canvas);
        paint_overlays(canvas, overlay);
    }
    lock.unlock();
    if (ready && overlay.progress && overlay.progress->shown())
        paint_progress(canvas, *overlay.progress);
    cairo_destroy(cr);
    cairo_surface_flush(frame_);
    return frame_;
}

void Renderer::paint_layer(const Rect* only) {
    // The frame holds the background (in `only`, when given); the layer's widgets go over it.
    cairo_surface_mark_dirty(frame_);
    cairo_t* cr = cairo_create(frame_);
    Canvas canvas(cr, layouts_);
    canvas.set_antialias(false);
    if (only)  // the layer's rectangles are in device pixels
        canvas.clip_rect(double(only->left) / scale_, double(only->top) / scale_,
                         double(only->width()) / scale_, double(only->height()) / scale_);
    const auto& widgets = layer_.layer_widgets();
    const auto& bounds = layer_.layer_bounds();
    for (std::size_t i = 0; i < widgets.size(); ++i)
        if (!only || overlaps(bounds[i], *only))
            paint_widget(canvas, *widgets[i]);
    cairo_destroy(cr);
    cairo_surface_flush(frame_);
}

std::vector<const Widget*> Renderer::drawing_order() const {
    // Panels first, then the controls, then the static texts above everything.
    std::vector<const Widget*> order;
    order.reserve(board_.widget_count());
    auto pass = [&](auto&& wanted) {
        board_.for_each_widget([&](const std::string&, const Widget& w) {
            if (w.visible && wanted(w.kind) && board_.on_current_page(w))
                order.push_back(&w);
        });
    };
    pass([](int kind) { return kind == kPanel; });
    pass([](int kind) { return kind != kPanel && kind != kStaticText; });
    pass([](int kind) { return kind == kStaticText; });
    return order;
}

void Renderer::paint_widgets(Canvas& canvas) {
    WidgetBoard::Lock lock = board_.lock();
    canvas.set_antialias(false);
    for (const Widget* w : drawing_order())
        paint_widget(canvas, *w);
    paint_tooltip(canvas);
}

void Renderer::paint_widget(Canvas& canvas, const Widget& w) {
    PaintEnv env{canvas, board_, hooks_};
    canvas.save();
    switch (w.kind) {
        case kCallout:
        case kTextBox:
            paint_callout(env, w);
            break;
        case kList:
            paint_list(env, w);
            break;
        case kSlider:
            paint_slider(env, w);
            break;
        case kStaticText:
            paint_static_text(env, w);
            break;
        case kSpinBox:
            paint_spin_box(env, w);
            break;
        case kCheckBox:
            paint_check_box(env, w);
            break;
        case kSelectableRow:
            paint_selectable_row(env, w);
            break;
        case kProgressBar:
            paint_progress_bar(env, w);
            break;
        case kRegionButton:
            paint_region_button(env, w);
            break;
        case kPanel:
            paint_panel(env, w);
            break;
        default:
            paint_default(env, w);
            break;
    }
    canvas.restore();
}

void Renderer::paint_tooltip(Canvas& canvas) {
    const Tooltip& tip = board_.tooltip;
    if (tip.count <= 0)
        return;
    const float* r = tip.rect;
    canvas.fill_rect(r[0], r[1], r[2], r[3], 0xC8202020);
    canvas.stroke_rect(r[0], r[1], r[2], r[3], 0xFE000000);
    canvas.text(tip.text, kTooltipFont, 0xFEFFFFFF, {r[0], r[1], r[2], r[3]}, kCentre);
}

namespace {

// A veil over the window with rounded holes.
class Veil {
  public:
    explicit Veil(Canvas& c, int w, int h) : c_(c) {
        cairo_new_path(c.cr());
        cairo_rectangle(c.cr(), 0, 0, w, h);
    }
    void hole(double x, double y, double w, double h, double r) { c_.rounded_path(x, y, w, h, r); }
    // A widget's box grown by 6 (or the given amounts), radius 10.
    // A hidden list is no drop target (and its hole would cancel one it overlaps).
    void hole_around(const Widget* w, int left = 6, int top = 6, int right = 6, int bottom = 6) {
        if (!w || !w->visible)
            return;
        hole(w->x - left, w->y - top, w->width + left + right, w->height + top + bottom, 10);
    }
    void fill() {
        cairo_set_fill_rule(c_.cr(), CAIRO_FILL_RULE_EVEN_ODD);
        c_.set_color(0xDC101010);
        cairo_fill(c_.cr());
        cairo_set_fill_rule(c_.cr(), CAIRO_FILL_RULE_WINDING);
    }

  private:
    Canvas& c_;
};

void panel_with_shadow(Canvas& c, int W, int H, Argb shadow_rgb, Argb panel) {
    for (int i = 0; i < 4; ++i)
        c.fill_rounded(W / 2 - i - 206, H / 2 - i - 36, 420, 80, 6,
                       (Argb(0x20 * (i + 1)) << 24) | shadow_rgb);
    c.fill_rounded(W / 2 - 210, H / 2 - 40, 420, 80, 6, panel);
}

}  // namespace

void Renderer::keep_inside_shape(Canvas& canvas) const {
    // Drawing "atop" keeps each pixel's alpha: the veils darken the window and leave the
    // transparent pixels around its shape transparent.
    if (background_image_)
        cairo_set_operator(canvas.cr(), CAIRO_OPERATOR_ATOP);
}

void Renderer::paint_overlays(Canvas& canvas, const OverlayState& overlay) {
    WidgetBoard::Lock lock = board_.lock();
    const int W = width_, H = height_;
    const Tooltip& tip = board_.tooltip;
    auto tooltip_hole = [&](Veil& veil) {
        if (tip.count > 0)
            veil.hole(tip.rect[0] + 1, tip.rect[1], tip.rect[2] - 1, tip.rect[3], 0);
    };
    const Widget* edit = board_.find_widget("list macro edit");
    canvas.save();
    keep_inside_shape(canvas);
    canvas.set_antialias(false);
    if (overlay.recording_state == 1) {
        Veil veil(canvas, W, H);
        veil.hole_around(edit);
        const Widget* stop = board_.find_widget("icon tool stop");
        veil.hole_around(stop, 5, 5, 6, 6);
        tooltip_hole(veil);
        veil.fill();
        if (stop)
            canvas.draw_image(stop->images[std::clamp(stop->state, 0, 2)], stop->x, stop->y);
    } else if (overlay.recording_state == 0 &&
               ((overlay.guide_mode == 1 || overlay.guide_mode == 3) && !overlay.editor_visible)) {
        Veil veil(canvas, W, H);
        veil.hole_around(edit);
        veil.hole_around(board_.find_widget("list macro 2"));
        const Widget* del = board_.find_widget("icon tool delete");
        if (del && del->visible)
            veil.hole(del->x, del->y, del->width, del->height, 5);
        if (overlay.guide_mode == 3)
            veil.hole_around(board_.find_widget("list macro pc"));
        tooltip_hole(veil);
        veil.fill();
    } else if (overlay.recording_state == 0 && overlay.guide_mode == 4) {
        Veil veil(canvas, W, H);
        veil.hole_around(edit);
        tooltip_hole(veil);
        veil.fill();
    } else if (overlay.recording_state >= 2) {
        canvas.fill_rect(0, 0, W, H, 0xDC101010);
        canvas.set_antialias(true);
        panel_with_shadow(canvas, W, H, 0x202020, 0xA6161616);
        canvas.set_antialias(false);
        const SkinImage* panel = load_skin_image(kRecordPanelImage);
        canvas.draw_image(panel, (W - image_width(panel)) / 2, (H - image_height(panel)) / 2);
        canvas.text(overlay.recording_message, 0, 0xFEFFFFFF,
                    {double(W / 2 - 210), double(H / 2 - 40), 420, 80}, kCentre);
    }
    canvas.restore();
}

void Renderer::paint_progress(Canvas& c, const ProgressOverlay& progress) {
    const int W = width_, H = height_;
    const double fraction = std::clamp(progress.fraction(), 0.0, 1.0);
    c.save();
    keep_inside_shape(c);
    c.set_antialias(true);
    c.fill_rect(0, 0, W, H, 0xDC101010);
    panel_with_shadow(c, W, H, 0x080808, 0xA61C1C1C);
    const int bx = W / 2 - 180, by = H / 2 - 4;
    c.fill_rect(bx, by, 290, 8, 0xFE606060);
    c.fill_rect(bx, by, 290 * fraction, 8, 0xFEE06A00);
    c.set_antialias(false);
    shade_bar(c, bx, W / 2 + 110, by, 4, H / 2 + 3);
    c.stroke_rect(W / 2 - 181, H / 2 - 5, 291, 9, 0xFF000000);
    const std::string message = progress.message();
    if (!message.empty())
        c.text(message, 11, 0xFEFFFFFF, {double(bx), double(H / 2 - 40), 290, 40}, kNear);
    char percent[32];
    std::snprintf(percent, sizeof percent, "%-3.1f%%", fraction * 100);
    c.text(percent, 0, 0xFEFFFFFF, {double(W / 2 + 120), double(H / 2 - 20), 80, 40}, kNear);
    c.restore();
}

}  // namespace zentrik::ui
