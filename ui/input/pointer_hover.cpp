// Hover: widget states, drag start, thumb and slider dragging, drop rows, tooltips, cursor.
#include <algorithm>
#include <cstdlib>

#include "ui/focus_order.h"
#include "ui/fonts.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/skin_image.h"

namespace zentrik::ui {

namespace lg = list_geometry;

int PointerDispatcher::on_hover(int x, int y, int buttons) {
    PointerState& p = board_.pointer;
    const bool left_down = buttons & kLeftButton;
    const bool fg = foreground();

    if (p.thumb_drag && p.thumb_list) {
        if (fg) {
            Widget& list = *p.thumb_list;
            const int R = std::max(1, list.row_height);
            const int d = std::max(0, y - list.y - R);
            const int u = std::max(1, list.row_count() - list.height / R + 2);
            const int span = std::max(1, list.height - R - 25);
            const int row = u * std::min(span, d) / span;
            list.first_row = std::clamp(row, 0, std::max(0, list.row_count() - 1));
            board_.invalidate_widget(&list);
        }
        return p.cursor_mode;
    }
    if (p.drag_state == 1 && fg)
        start_drag_if_moved(x, y);

    const bool dragging = p.drag_state == 2;
    const bool live = board_.live;
    Widget* under = nullptr;
    Widget* disabled_tip = nullptr;  // a greyed widget whose tooltip says why
    Widget* drop_highlight = nullptr;
    bool active = false;
    board_.for_each_widget([&](const std::string&, const Widget& cw) {
        Widget& w = const_cast<Widget&>(cw);
        if (!eligible(w)) {
            // Leaving the page (or being hidden) drops a hover look.
            if (w.state != 0 && (w.kind == kImageButton || w.kind == kLevelButton ||
                                 w.kind == kTextBox || w.kind == kRegionButton)) {
                w.state = 0;
                board_.invalidate_widget(&w);
            }
            // A disabled widget takes no input, but its tooltip still shows.
            if (!disabled_tip && w.has_tooltip && w.visible && !w.enabled &&
                board_.on_current_page(w) && hits(w, x, y, nullptr))
                disabled_tip = &w;
            return;
        }
        if (!live && !w.always_active)
            return;
        const bool inside = hits(w, x, y, nullptr);
        if (inside && !under)
            under = &w;
        switch (w.kind) {
            case kImageButton:
            case kLevelButton:
            case kTextBox:
            case kRegionButton: {
                int state = 0;
                if (inside) {
                    active = true;
                    state = !left_down ? 1 : (p.pressed == &w ? 2 : w.state);
                }
                if (state != w.state) {
                    w.state = state;
                    board_.invalidate_widget(&w);
                }
                break;
            }
            case kCallout:
                if (inside && dragging && !drop_highlight)
                    drop_highlight = &w;
                break;
            case kList:
                hover_list(w, x, y, inside, left_down);
                break;
            case kSlider:
                if (inside)
                    active = true;
                hover_slider(w, x, left_down);
                break;
            case kSpinBox:
            case kCheckBox:
            case kSelectableRow:
                if (inside)
                    active = true;
                break;
            default:
                break;
        }
    });

    if (drop_highlight != p.drop_highlight) {
        board_.invalidate_widget(p.drop_highlight);
        board_.invalidate_widget(drop_highlight);
        p.drop_highlight = drop_highlight;
    }
    if (under != p.under) {
        Widget* previous = p.under;
        board_.invalidate_widget(previous);
        board_.invalidate_widget(under);
        p.under = under;
        invalidate_tooltip();
        emit(kActionUnderChanged, 0, previous, under);
    }
    update_tooltip(under ? under : disabled_tip);
    p.cursor_mode = p.drag_state == 2 ? kDragCursorMode : active ? kActiveCursorMode : kArrowCursor;
    return p.cursor_mode;
}

void PointerDispatcher::start_drag_if_moved(int x, int y) {
    PointerState& p = board_.pointer;
    if (std::abs(x - p.press_x) <= 3 && std::abs(y - p.press_y) <= 3)
        return;
    p.drag_state = 0;
    Widget* source = p.focus;
    if (!board_.live || !source)
        return;
    if (can_drag(*source, p.press_row)) {
        p.drag_state = 2;
        emit(kActionDragStarted, source->id, source, source);
    }
}

void PointerDispatcher::hover_list(Widget& w, int x, int y, bool inside, bool left_down) {
    PointerState& p = board_.pointer;
    if (lg::in_scroll_strip(w, x, y)) {
        if (w.scrollbar_fade < 80)
            board_.invalidate_widget(&w);
        w.scrollbar_fade = 480;
        return;
    }
    w.scrollbar_fade = std::min(w.scrollbar_fade, 90);
    int drop_row = -1;
    if (inside && p.drag_state == 2 && p.focus != &w) {
        const int row = lg::row_at(w, y);
        if (row >= 0 && !w.rows[row].is_header())
            drop_row = row;
    }
    if (drop_row != w.drop_row) {
        w.drop_row = drop_row;
        board_.invalidate_widget(&w);
    }
    // Dragging the pressed button over a resting list selects the row under it.
    if (inside && left_down && p.pressed == &w && p.drag_state != 2 &&
        w.scroll_px == w.first_row * w.row_height) {
        const int row = lg::row_at(w, y);
        if (row >= 0 && !w.rows[row].is_header() && row != w.selected_row) {
            w.selected_row = row;
            board_.invalidate_widget(&w);
            if (!w.draggable) {
                emit(kActionClick, w.id, &w, &w);
                p.drag_state = 3;
            }
        }
    }
}

void PointerDispatcher::hover_slider(Widget& w, int x, bool left_down) {
    PointerState& p = board_.pointer;
    if (p.pressed != &w || !left_down || w.step <= 0)
        return;
    const int range = w.max - w.min;
    const int k = std::max(1, w.width / std::max(1, range / w.step));
    // Measured from the thumb's centre, so the thumb stays under the pointer.
    const ThumbPos t = slider_thumb(w);
    const int centre = t.left + image_width(w.images[kNormal]) / 2;
    const int value = std::clamp(w.value + w.step * ((x - centre) / k), w.min, w.max);
    board_.invalidate_widget(&w);
    if (value != w.value) {
        w.value = value;
        emit(kActionClick, w.id, &w, nullptr);
    }
}

void PointerDispatcher::invalidate_tooltip() {
    const float* r = board_.tooltip.rect;
    board_.invalidate_rect({static_cast<int>(r[0]) - 2, static_cast<int>(r[1]) - 2,
                            static_cast<int>(r[0] + r[2]) + 3, static_cast<int>(r[1] + r[3]) + 2});
}

void PointerDispatcher::update_tooltip(Widget* under) {
    PointerState& p = board_.pointer;
    Tooltip& tip = board_.tooltip;
    const bool dragging = p.drag_state == 2;
    if (under != p.tip_widget) {
        p.tip_widget = under;
        if (under && under->has_tooltip && (!dragging || under->delete_target)) {
            invalidate_tooltip();
            if (!measure_)
                measure_ = default_text_measure();
            const auto [mw, mh] = measure_(under->tooltip, kTooltipFont, 1000);
            const float width = static_cast<float>(mw + 4);
            const float height = static_cast<float>(mh + 2);
            float left = static_cast<float>(under->x) + under->width / 2.0f - width / 2.0f;
            left = std::max(3.0f, std::min(left, kTooltipRightLimit - width));
            tip.text = under->tooltip;
            tip.rect[0] = left;
            tip.rect[1] = static_cast<float>(under->y) - height - 4;
            tip.rect[2] = width;
            tip.rect[3] = height;
            tip.count = kTooltipTicks;
            invalidate_tooltip();
            return;
        }
    }
    const bool hide = (!under || !under->has_tooltip) || (dragging && !under->delete_target);
    if (hide && tip.count > 0) {
        tip.count = 0;
        invalidate_tooltip();
    }
}

}  // namespace zentrik::ui
