// Keyboard focus, activation, arrows, typed numbers, page keys, renaming and the keyboard's
// pick-up-and-drop.
#include "ui/input/keyboard_focus.h"

#include <algorithm>
#include <string>
#include <utility>

#include "ui/focus_order.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/layout.h"
#include "ui/list_model.h"

namespace zentrik::ui {

namespace {

constexpr int kPageCount = 3;  // the pages the side tabs switch

// +1 for keys that go forward (down a list, to the next radio button), -1 back, 0 neither.
int forward(KeyStroke::Name key) {
    switch (key) {
        case KeyStroke::kRight:
        case KeyStroke::kDown:
            return 1;
        case KeyStroke::kLeft:
        case KeyStroke::kUp:
            return -1;
        default:
            return 0;
    }
}

// The value a slider or spin box moves to: up and right raise it.
int stepped_value(const Widget& w, KeyStroke::Name key) {
    const int step = std::max(1, w.step);
    switch (key) {
        case KeyStroke::kUp:
        case KeyStroke::kRight:
            return w.value + step;
        case KeyStroke::kDown:
        case KeyStroke::kLeft:
            return w.value - step;
        case KeyStroke::kPageUp:
            return w.value + step * kSliderPageSteps;
        case KeyStroke::kPageDown:
            return w.value - step * kSliderPageSteps;
        case KeyStroke::kHome:
            return w.min;
        case KeyStroke::kEnd:
            return w.max;
        default:
            return w.value;
    }
}

bool header_selected(const Widget& list) {
    return list.has_row(list.selected_row) && list.rows[list.selected_row].is_header();
}

}  // namespace

KeyboardFocus::KeyboardFocus(WidgetBoard& board, WidgetEventHandler& handler,
                             PointerDispatcher& pointer)
    : board_(board), handler_(handler), pointer_(pointer) {}

void KeyboardFocus::emit(int action, int id, Widget* first, Widget* second) {
    handler_.handle_widget_event({action, id, first, second});
}

bool KeyboardFocus::live_for(const Widget& w) const {
    return board_.live || w.always_active;
}

void KeyboardFocus::invalidate_ring(const Widget* w) {
    if (w)
        board_.invalidate_rect(focus_ring_area(*w));
}

Widget* KeyboardFocus::focused() const {
    WidgetBoard::Lock lock = board_.lock();
    Widget* w = board_.pointer.focus;
    return w && takes_focus(board_, *w) ? w : nullptr;
}

void KeyboardFocus::focus(Widget* w) {
    WidgetBoard::Lock lock = board_.lock();
    PointerState& p = board_.pointer;
    if (w != p.focus && !p.typed.empty())
        commit_typed();
    invalidate_ring(p.focus);
    p.focus = w;
    p.focus_visible = w != nullptr;
    invalidate_ring(w);
}

bool KeyboardFocus::key(const KeyStroke& stroke) {
    WidgetBoard::Lock lock = board_.lock();
    PointerState& p = board_.pointer;
    if (pointer_.editor_visible()) {
        // The inline editor's own keys; typing goes to the editor.
        if (stroke.name == KeyStroke::kEnter)
            return pointer_.key_event(Key::kEnter);
        if (stroke.name == KeyStroke::kEscape)
            return pointer_.key_event(Key::kEscape);
        return false;
    }
    Widget* w = focused();
    if (w && w->kind == kSpinBox && stroke.name == KeyStroke::kDigit && !stroke.ctrl)
        return type_digit(*w, stroke);
    if (!p.typed.empty()) {
        if (!w || w->kind != kSpinBox) {
            p.typed.clear();  // the pointer took the focus elsewhere
        } else if (stroke.name == KeyStroke::kBackspace) {
            p.typed.pop_back();
            invalidate_ring(w);
            return true;
        } else if (stroke.name == KeyStroke::kEscape) {
            cancel_typed();
            return true;
        } else {
            commit_typed();
            if (stroke.name == KeyStroke::kEnter)
                return true;
        }
    }
    if (stroke.ctrl) {
        if (stroke.name == KeyStroke::kEnter)
            return carry_or_drop(w);
        if (stroke.name == KeyStroke::kPageUp || stroke.name == KeyStroke::kPageDown ||
            stroke.name == KeyStroke::kDigit)
            return switch_page(stroke);
    }
    switch (stroke.name) {
        case KeyStroke::kTab:
            move_focus(stroke.shift ? -1 : 1);
            return true;
        case KeyStroke::kEnter:
        case KeyStroke::kSpace:
            if (!w)
                return false;
            activate(*w);
            return true;
        case KeyStroke::kEscape:
            if (!p.carried)
                return false;
            end_carry();
            return true;
        case KeyStroke::kF2:
            return w && rename(*w);
        case KeyStroke::kDelete:
            pointer_.key_event(Key::kDelete);
            return w && w->kind == kList;
        case KeyStroke::kLeft:
        case KeyStroke::kRight:
        case KeyStroke::kUp:
        case KeyStroke::kDown:
        case KeyStroke::kHome:
        case KeyStroke::kEnd:
        case KeyStroke::kPageUp:
        case KeyStroke::kPageDown:
            if (!w) {
                // A list the pointer chose keeps its Up and Down (the pointer logic checks it).
                if (stroke.name == KeyStroke::kUp || stroke.name == KeyStroke::kDown)
                    pointer_.key_event(stroke.name == KeyStroke::kUp ? Key::kUp : Key::kDown);
                return false;
            }
            return arrow(*w, stroke);
        default:
            return false;
    }
}

void KeyboardFocus::move_focus(int direction) {
    const std::vector<Widget*> order = focus_order(board_);
    if (order.empty())
        return;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const auto at = std::find(order.begin(), order.end(), focused()) - order.begin();
    const std::ptrdiff_t next = at == n ? (direction > 0 ? 0 : n - 1) : (at + direction + n) % n;
    focus(order[static_cast<std::size_t>(next)]);
}

void KeyboardFocus::activate(Widget& w) {
    WidgetBoard::Lock lock = board_.lock();
    if (!live_for(w))
        return;
    switch (w.kind) {
        case kSlider:
        case kSpinBox:
            return;  // their values move with the arrows
        case kList:
            if (header_selected(w)) {
                board_.toggle_fold(&w, w.selected_row);
                return;
            }
            break;
        case kSelectableRow:
            board_.select_in_group(&w);
            break;
        default:
            break;
    }
    emit(kActionClick, w.id, &w, nullptr);
}

void KeyboardFocus::set_value(Widget& w, int value) {
    WidgetBoard::Lock lock = board_.lock();
    if ((w.kind != kSlider && w.kind != kSpinBox) || !live_for(w) || !w.enabled)
        return;
    // Within the range; the command puts it on its grid, as it does a dragged value.
    const int v = std::clamp(value, w.min, w.max);
    if (v == w.value)
        return;
    w.value = v;
    board_.invalidate_widget(&w);
    emit(kActionClick, w.id, &w, nullptr);
}

bool KeyboardFocus::arrow(Widget& w, const KeyStroke& stroke) {
    switch (w.kind) {
        case kSlider:
        case kSpinBox:
            set_value(w, stepped_value(w, stroke.name));
            return true;
        case kList:
            if (stroke.shift && forward(stroke.name) != 0 && stroke.name != KeyStroke::kLeft &&
                stroke.name != KeyStroke::kRight)
                return select_row(w, forward(stroke.name));
            if (stroke.name == KeyStroke::kUp || stroke.name == KeyStroke::kDown) {
                pointer_.key_event(stroke.name == KeyStroke::kUp ? Key::kUp : Key::kDown);
                return true;
            }
            return false;
        default:
            return radio_group(w) != 0 && forward(stroke.name) != 0 &&
                   move_in_group(w, forward(stroke.name));
    }
}

bool KeyboardFocus::move_in_group(Widget& w, int direction) {
    std::vector<Widget*> group = focus_order(board_);
    const int key = radio_group(w);
    std::erase_if(group, [&](const Widget* o) { return radio_group(*o) != key; });
    const auto at = std::find(group.begin(), group.end(), &w) - group.begin();
    const auto next = at + direction;
    if (next < 0 || next >= static_cast<std::ptrdiff_t>(group.size()))
        return true;  // the ends of a group stay where they are
    Widget& chosen = *group[static_cast<std::size_t>(next)];
    focus(&chosen);
    activate(chosen);
    return true;
}

bool KeyboardFocus::select_row(Widget& list, int direction) {
    const int row = list.selected_row + direction;
    if (!list.has_row(row))
        return true;
    list.selected_row = row;
    ListModel(list).apply_scroll_rule();
    board_.invalidate_widget(&list);
    // As the pointer does: a list without dragging reports every change of its selection.
    if (!list.draggable && live_for(list))
        emit(kActionClick, list.id, &list, &list);
    return true;
}

bool KeyboardFocus::switch_page(const KeyStroke& stroke) {
    int target = 0;
    if (stroke.name == KeyStroke::kDigit) {
        if (stroke.digit < 1 || stroke.digit > kPageCount)
            return false;
        target = stroke.digit - 1;
    } else {
        const int step = stroke.name == KeyStroke::kPageDown ? 1 : -1;
        const int page = board_.page();
        target = page >= 0 && page < kPageCount ? (page + step + kPageCount) % kPageCount
                 : step > 0                     ? 0
                                                : kPageCount - 1;
    }
    // The side tab (or the home page's button) of that page, as a click on it.
    Widget* tab = nullptr;
    board_.for_each_widget([&](const std::string&, Widget& w) {
        if (!tab && w.id == kFirstPageCommand + target && takes_focus(board_, w))
            tab = &w;
    });
    if (!tab)
        return false;
    activate(*tab);
    return true;
}

bool KeyboardFocus::rename(Widget& w) {
    if (!live_for(w))
        return false;
    if (w.kind == kTextBox && w.editable) {
        pointer_.open_editor(w, -1);
        return true;
    }
    const int row = w.selected_row;
    if (w.kind != kList || !w.renamable || !w.has_row(row) || w.rows[row].is_header() ||
        w.rows[row].value == kFixedRowValue)
        return false;
    ListModel(w).apply_scroll_rule();
    pointer_.open_editor(w, row);
    return true;
}

bool KeyboardFocus::carry_or_drop(Widget* w) {
    PointerState& p = board_.pointer;
    if (!p.carried) {
        if (!w || !live_for(*w) || !can_drag(*w, w->selected_row))
            return false;
        p.carried = w;
        invalidate_ring(w);
        emit(kActionDragStarted, w->id, w, w);
        return true;
    }
    Widget* source = p.carried;
    if (w && w != source && board_.live && takes_focus(board_, *source)) {
        // A list takes the drop at its selected row, as at the row under the pointer.
        if (w->kind == kList)
            w->drop_row =
                w->has_row(w->selected_row) && !header_selected(*w) ? w->selected_row : -1;
        emit(kActionDrop, source->id, source, w);
        if (w->kind == kList) {
            w->drop_row = -1;
            board_.invalidate_widget(w);
        }
    }
    end_carry();
    return true;
}

void KeyboardFocus::end_carry() {
    Widget* source = std::exchange(board_.pointer.carried, nullptr);
    if (!source)
        return;
    invalidate_ring(source);
    emit(kActionDragEnded, source->id, source, source);
}

bool KeyboardFocus::type_digit(Widget& w, const KeyStroke& stroke) {
    std::string& typed = board_.pointer.typed;
    if (!live_for(w))
        return false;
    if (static_cast<int>(typed.size()) < kMaxTypedDigits)
        typed += static_cast<char>('0' + std::clamp(stroke.digit, 0, 9));
    invalidate_ring(&w);
    return true;
}

void KeyboardFocus::commit_typed() {
    Widget* w = board_.pointer.focus;
    const std::string typed = std::exchange(board_.pointer.typed, {});
    if (!w || w->kind != kSpinBox || typed.empty())
        return;
    invalidate_ring(w);
    set_value(*w, std::stoi(typed));
}

void KeyboardFocus::cancel_typed() {
    board_.pointer.typed.clear();
    invalidate_ring(board_.pointer.focus);
}

}  // namespace zentrik::ui
