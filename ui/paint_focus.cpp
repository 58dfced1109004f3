#include "ui/paint_focus.h"

#include <cairo.h>

#include "ui/focus_order.h"

namespace zentrik::ui {

namespace {

// The skin's light edge (as on the callouts and tabs) over a soft dark shadow, so the ring
// shows on the dark panels and on the light pictures alike.
constexpr Argb kRingLight = 0xFEF0F0F0;
constexpr Argb kRingShadow = 0x90000000;
constexpr double kRingRadius = 5;
constexpr double kGap = 2;  // between the box and the ring's inner edge
constexpr Argb kTypedFill = 0xFEFFFFFF;
constexpr Argb kTypedText = 0xFE000000;
constexpr int kArrowsWidth = 24;  // the spin box's arrows stay visible

bool shows(const WidgetBoard& board, const Widget* w) {
    return w && w->visible && board.on_current_page(*w);
}

void ring(Canvas& c, const Widget& w, bool dashed) {
    const Rect b = focus_box(w);
    cairo_t* cr = c.cr();
    c.save();
    if (dashed) {
        const double dashes[] = {4, 3};
        cairo_set_dash(cr, dashes, 2, 0);
    }
    cairo_set_line_width(cr, 3);
    c.rounded_path(b.left - kGap - 1.5, b.top - kGap - 1.5, b.width() + 2 * kGap + 3,
                   b.height() + 2 * kGap + 3, kRingRadius);
    c.set_color(kRingShadow);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 2);
    c.rounded_path(b.left - kGap - 1, b.top - kGap - 1, b.width() + 2 * kGap + 2,
                   b.height() + 2 * kGap + 2, kRingRadius);
    c.set_color(kRingLight);
    cairo_stroke(cr);
    c.restore();
}

// The digits typed so far, with a caret, over the spin box's number.
void typed_number(Canvas& c, const Widget& w, const std::string& typed) {
    const double width = w.width - kArrowsWidth;
    c.save();
    c.fill_rounded(w.x + 1, w.y + 1, width, w.height - 2, 3, kTypedFill);
    c.text(typed + "|", w.font, kTypedText,
           {double(w.x + 4), double(w.y), width - 4, double(w.height)}, kCentre, false);
    c.restore();
}

}  // namespace

void paint_focus(Canvas& canvas, const WidgetBoard& board) {
    const PointerState& p = board.pointer;
    if (shows(board, p.carried))
        ring(canvas, *p.carried, true);
    if (!shows(board, p.focus))
        return;
    if (!p.typed.empty() && p.focus->kind == kSpinBox)
        typed_number(canvas, *p.focus, p.typed);
    if (p.focus_visible)
        ring(canvas, *p.focus, false);
}

}  // namespace zentrik::ui
