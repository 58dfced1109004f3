// Wheel and keys.
#include <algorithm>
#include <utility>

#include "ui/focus_order.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/step_list.h"

namespace zentrik::ui {

int PointerDispatcher::wheel_event(int notches, int x, int y) {
    WidgetBoard::Lock lock = board_.lock();
    if (!foreground())
        return board_.pointer.cursor_mode;
    const std::int64_t now = clock_.now_ms();
    bool accelerated = false;
    board_.for_each_widget([&](const std::string&, const Widget& cw) {
        Widget& w = const_cast<Widget&>(cw);
        if (w.kind != kList || !w.visible || !board_.on_current_page(w) || !w.box().contains(x, y))
            return;
        if (editor_visible())
            cancel_editor();
        PointerState& p = board_.pointer;
        if (!accelerated) {
            // Notches in quick succession scroll further.
            const bool quick = last_wheel_ms_ && now - *last_wheel_ms_ <= 19;
            p.wheel_accel = quick ? p.wheel_accel + 8 : 0;
            p.wheel_time = now;
            last_wheel_ms_ = now;
            accelerated = true;
        }
        const long long target = static_cast<long long>(w.first_row) +
                                 static_cast<long long>(notches) * (p.wheel_accel + 1);
        const int last = w.row_count() - w.visible_rows + 2;
        w.first_row = static_cast<int>(std::max(0LL, std::min<long long>(target, last)));
        board_.invalidate_widget(&w);
    });
    restart_tick();
    return board_.pointer.cursor_mode;
}

bool PointerDispatcher::key_event(Key key) {
    WidgetBoard::Lock lock = board_.lock();
    if (!foreground())
        return false;
    if (editor_visible()) {
        if (key == Key::kEnter) {
            commit_editor();
            return true;
        }
        if (key == Key::kEscape) {
            cancel_editor();
            return true;
        }
        return false;  // typing goes to the editor
    }
    PointerState& p = board_.pointer;
    Widget* focus = p.focus;
    switch (key) {
        case Key::kUp:
            if (focus && focus->kind == kList && focus->page == board_.page() &&
                focus->first_row > 0) {
                --focus->first_row;
                board_.invalidate_widget(focus);
            }
            break;
        case Key::kDown:
            if (focus && focus->kind == kList && focus->page == board_.page() &&
                focus->first_row + focus->visible_rows - 2 < focus->row_count()) {
                ++focus->first_row;
                board_.invalidate_widget(focus);
            }
            break;
        case Key::kDelete:
            delete_key();
            break;
        default:
            break;
    }
    restart_tick();
    return false;
}

void PointerDispatcher::delete_key() {
    Widget* w = board_.pointer.focus;
    if (!w || w->kind != kList)
        return;
    if (w->edit_mode == 1) {
        const int sel = w->selected_row;
        if (sel > 0 && w->has_row(sel)) {
            const int last_visible = w->first_row + w->visible_rows - 1;
            if (sel > w->first_row && sel < last_visible)
                step_list::delete_step(*w, sel);
            else if (sel <= w->first_row)
                w->first_row = sel - 1;
        }
        w->selected_row = std::clamp(w->selected_row, 0, std::max(0, w->row_count() - 1));
        board_.invalidate_widget(w);
    } else if (w->renamable) {
        w->selected_row = std::clamp(w->selected_row, 0, std::max(0, w->row_count() - 1));
        if (w->has_row(w->selected_row) && w->rows[w->selected_row].value != kFixedRowValue)
            emit(kActionDeleteRequested, w->id, w, nullptr);
    }
}

void PointerDispatcher::leave_keyboard_mode() {
    PointerState& p = board_.pointer;
    if (p.focus && (p.focus_visible || !p.typed.empty()))
        board_.invalidate_rect(focus_ring_area(*p.focus));
    p.focus_visible = false;
    p.typed.clear();
    if (Widget* source = std::exchange(p.carried, nullptr)) {
        board_.invalidate_rect(focus_ring_area(*source));
        emit(kActionDragEnded, source->id, source, source);
    }
}

}  // namespace zentrik::ui
