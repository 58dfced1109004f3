// The dispatcher: hit testing, presses and releases.
#include "ui/input/pointer_dispatcher.h"

#include <cstdlib>

#include "ui/focus_order.h"
#include "ui/skin_image.h"

namespace zentrik::ui {

namespace lg = list_geometry;

PointerDispatcher::PointerDispatcher(WidgetBoard& board, WidgetEventHandler& handler,
                                     const Clock& clock, TimerService* timers, InlineEditor* editor)
    : board_(board),
      handler_(handler),
      clock_(clock),
      timers_(timers),
      editor_(editor),
      keyboard_(std::make_unique<KeyboardFocus>(board, handler, *this)) {
    board_.open_editor = [this](Widget& w, int row) { open_editor(w, row); };
    if (timers_)
        timers_->set_handler(kAnimationTimer, [this] { animation_tick(); });
}

PointerDispatcher::~PointerDispatcher() {
    if (timers_) {
        timers_->stop(kAnimationTimer);
        timers_->set_handler(kAnimationTimer, nullptr);
    }
    WidgetBoard::Lock lock = board_.lock();
    board_.open_editor = nullptr;
}

void PointerDispatcher::emit(int action, int id, Widget* first, Widget* second) {
    handler_.handle_widget_event({action, id, first, second});
}

bool PointerDispatcher::eligible(const Widget& w) const {
    return interactive_kind(w.kind) && w.visible && w.enabled && board_.on_current_page(w);
}

bool PointerDispatcher::hits(const Widget& w, int x, int y, int* spin_dir) const {
    switch (w.kind) {
        case kRegionButton:
            // Only its opaque pixels: a button without any (a fully transparent image, or
            // none) is never hit.
            return w.region && w.region->contains(x, y);
        case kSlider: {
            const ThumbPos t = slider_thumb(w);
            const SkinImage* thumb = w.images[kNormal];
            return Rect{t.left - 10, t.top - 10, t.left + image_width(thumb) + 10,
                        t.top + image_height(thumb) + 10}
                .contains(x, y);
        }
        case kSpinBox: {
            const int r = w.x + w.width, b = w.y + w.height, h2 = w.height / 2;
            if (Rect{r - 22, w.y, r - 2, w.y + h2}.contains(x, y)) {
                if (spin_dir)
                    *spin_dir = 1;
                return true;
            }
            if (Rect{r - 21, b - h2, r - 2, b - 1}.contains(x, y)) {
                if (spin_dir)
                    *spin_dir = -1;
                return true;
            }
            return false;
        }
        case kCheckBox: {
            const SkinImage* box = w.checked ? w.images[1] : w.images[0];
            if (!box)
                break;
            const int top = w.y + (w.height - box->height()) / 2;
            return Rect{w.x, top, w.x + box->width(), top + box->height()}.contains(x, y);
        }
        default:
            break;
    }
    return Rect{w.x, w.y, w.x + w.width + 1, w.y + w.height + 2}.contains(x, y);
}

Widget* PointerDispatcher::widget_at(int x, int y) const {
    WidgetBoard::Lock lock = board_.lock();
    Widget* found = nullptr;
    board_.for_each_widget([&](const std::string&, const Widget& w) {
        if (!found && eligible(w) && hits(w, x, y, nullptr))
            found = const_cast<Widget*>(&w);
    });
    return found;
}

Widget* PointerDispatcher::hit_test(int x, int y) {
    Widget* found = nullptr;
    int dir = 0;
    board_.for_each_widget([&](const std::string&, const Widget& w) {
        if (!found && eligible(w) && hits(w, x, y, &dir))
            found = const_cast<Widget*>(&w);
    });
    board_.pointer.spin_dir = (found && found->kind == kSpinBox) ? dir : 0;
    return found;
}

int PointerDispatcher::cursor_mode() const {
    WidgetBoard::Lock lock = board_.lock();
    return board_.pointer.cursor_mode;
}

int PointerDispatcher::pointer_event(int changed, int buttons, int x, int y) {
    WidgetBoard::Lock lock = board_.lock();
    buttons_ = buttons;
    PointerState& p = board_.pointer;
    if ((changed & kLeftButton) && (buttons & kLeftButton)) {
        if (editor_visible() && !editor_->box().contains(x, y)) {
            // A press outside the open editor only commits it.
            commit_editor();
            restart_tick();
            return p.cursor_mode;
        }
        left_down(x, y);
    } else if ((changed & kLeftButton) && !(buttons & kLeftButton)) {
        on_release(x, y);
        p.thumb_drag = 0;
        p.thumb_list = nullptr;
    }
    if ((changed & kRightButton) && (buttons & kRightButton))
        right_down(x, y);
    const int mode = on_hover(x, y, buttons);
    restart_tick();
    return mode;
}

void PointerDispatcher::left_down(int x, int y) {
    PointerState& p = board_.pointer;
    leave_keyboard_mode();
    Widget* w = hit_test(x, y);
    if (!w) {
        // Empty skin: the window shell moves the window.
        p.pressed = nullptr;
        p.last_pressed = nullptr;
        return;
    }
    bool second = (w == p.last_pressed);
    if (!second)
        p.double_press_count = kDoublePressTicks;
    int row = -1;
    if (w->kind == kList) {
        if (lg::in_scroll_strip(*w, x, y)) {
            w->scrollbar_fade = 580;
            const int top = lg::thumb_top(*w);
            if (y >= top && y < top + 21) {
                p.thumb_drag = 1;
                p.thumb_list = w;
                p.thumb_y0 = y;
                p.thumb_row0 = w->first_row;
            }
            second = false;
            board_.invalidate_widget(w);
        } else {
            row = lg::row_at(*w, y);
            if (row >= 0 && w->rows[row].is_header())
                board_.toggle_fold(w, row);
            // A second press counts only on the same, fully visible row.
            second = second && row >= 0 && row == p.press_row &&
                     row <= w->first_row + w->visible_rows - 2;
        }
        p.press_row = row;
    }
    p.last_pressed = w;
    p.pressed = w;
    if (w != p.focus) {
        board_.invalidate_widget(p.focus);
        board_.invalidate_widget(w);
        p.focus = w;
    }
    if (w->draggable) {
        p.drag_state = 1;
        p.press_x = x;
        p.press_y = y;
        p.press_row = row;
    }
    if (w->kind == kSpinBox) {
        p.spin_count = 0;
        board_.invalidate_widget(w);
    }
    if (w->kind == kSelectableRow)
        board_.select_in_group(w);
    if (second) {
        if (w->editable)
            open_editor(*w, w->kind == kList ? w->selected_row : -1);
        else
            emit(kActionSecondPress, w->id, w, nullptr);
        p.last_pressed = nullptr;
    }
}

void PointerDispatcher::right_down(int x, int y) {
    PointerState& p = board_.pointer;
    leave_keyboard_mode();
    if (editor_visible() && !editor_->box().contains(x, y))
        cancel_editor();
    Widget* w = hit_test(x, y);
    if (!w)
        return;
    if (w != p.focus) {
        board_.invalidate_widget(p.focus);
        board_.invalidate_widget(w);
        p.focus = w;
    }
    if (w->kind == kList) {
        const int row = lg::row_at(*w, y);
        if (row >= 0) {
            w->selected_row = row;
            board_.invalidate_widget(w);
        }
    }
    // A widget's context (the profile tabs' export and import).
    if (foreground() && board_.live)
        emit(kActionContextPress, w->id, w, nullptr);
}

void PointerDispatcher::on_release(int x, int y) {
    PointerState& p = board_.pointer;
    Widget* target = nullptr;
    board_.for_each_widget([&](const std::string&, const Widget& w) {
        if (target || w.kind == kPicture || w.kind == kStaticText || w.kind == kPanel ||
            !w.visible || !w.enabled || !board_.on_current_page(w))
            return;
        bool inside;
        if (w.kind == kCheckBox && w.images[w.checked ? 1 : 0])
            inside = hits(w, x, y, nullptr);
        else
            inside = Rect{w.x, w.y, w.x + w.width + 1, w.y + w.height + 1}.contains(x, y);
        if (inside)
            target = const_cast<Widget*>(&w);
    });
    const bool dragging = p.drag_state == 2;
    Widget* source = p.focus;
    const bool fg = foreground();
    int mode = kArrowCursor;
    if (target && target == p.pressed) {
        if (fg && (board_.live || target->always_active))
            emit(kActionClick, target->id, p.focus, dragging ? target : nullptr);
        mode = kActiveCursorMode;
    } else if (target && dragging) {
        if (fg && board_.live && source)
            emit(kActionDrop, source->id, source, target);
        p.focus = target;
        mode = kActiveCursorMode;
    }
    if (dragging && source)
        emit(kActionDragEnded, source->id, source, source);
    p.drag_state = 0;
    if (p.pressed && p.pressed->kind == kSpinBox) {
        // A click shorter than one animation step still moves the value once.
        if (p.spin_count == 0 && p.spin_dir != 0 && foreground())
            spin_step(*p.pressed);
        board_.invalidate_widget(p.pressed);
    }
    p.pressed = nullptr;
    p.cursor_mode = mode;
}

}  // namespace zentrik::ui
