// The 15 ms animation step, and keeping its timer armed only while something moves.
#include <algorithm>

#include "ui/input/pointer_dispatcher.h"

namespace zentrik::ui {

namespace {

bool list_moving(const Widget& w, bool thumb_drag) {
    return w.scroll_px != w.row_height * w.first_row || (w.scrollbar_fade >= 1 && !thumb_drag);
}

}  // namespace

void PointerDispatcher::animation_tick() {
    WidgetBoard::Lock lock = board_.lock();
    PointerState& p = board_.pointer;

    if (p.double_press_count > 0 && --p.double_press_count == 0) {
        p.press_row = -1;
        p.last_pressed = nullptr;
    }

    Tooltip& tip = board_.tooltip;
    if (tip.count > 0) {
        if (!p.under || !p.under->has_tooltip) {
            tip.count = 0;
            invalidate_tooltip();
        } else if (p.tip_widget && p.tip_widget->has_tooltip) {
            --tip.count;
            // Repainted while it fades in, and when it goes.
            if (tip.count > kTooltipTicks - 50 || tip.count == 0)
                invalidate_tooltip();
        }
    }

    if (p.pressed && p.pressed->kind == kSpinBox && p.spin_dir != 0 && foreground()) {
        // At once, again after 21 ticks, then every 6.
        if (p.spin_count == 0 || p.spin_count > 20) {
            spin_step(*p.pressed);
            if (p.spin_count > 20)
                p.spin_count = 15;
        }
        ++p.spin_count;
    }

    board_.for_each_widget([&](const std::string&, const Widget& cw) {
        if (cw.kind == kList && cw.visible && board_.on_current_page(cw))
            scroll_step(const_cast<Widget&>(cw));
    });

    if (timers_ && !needs_tick())
        timers_->stop(kAnimationTimer);
}

void PointerDispatcher::spin_step(Widget& w) {
    const int value = std::clamp(w.value + w.step * board_.pointer.spin_dir, w.min, w.max);
    if (value == w.value)
        return;
    w.value = value;
    board_.invalidate_widget(&w);
    emit(kActionClick, w.id, &w, nullptr);
}

void PointerDispatcher::scroll_step(Widget& w) {
    const int R = w.row_height;
    const int t = R * w.first_row;
    int p = w.scroll_px;
    if (p > t + R)
        p -= p > t + 200 ? 165 : 15;
    else if (p < t - R)
        p += p < t - 200 ? 165 : 15;
    else if (p > t + 10)
        p -= 4;
    else if (p < t - 10)
        p += 4;
    else if (p > t)
        p -= 1;
    else if (p < t)
        p += 1;
    if (p != w.scroll_px) {
        w.scroll_px = p;
        w.scrollbar_fade = 200;
        board_.invalidate_widget(&w);
    } else if (w.scrollbar_fade >= 1 && !board_.pointer.thumb_drag) {
        w.scrollbar_fade = std::max(0, w.scrollbar_fade - 5);
        board_.invalidate_widget(&w);
    }
}

bool PointerDispatcher::needs_tick() const {
    WidgetBoard::Lock lock = board_.lock();
    const PointerState& p = board_.pointer;
    if (p.double_press_count > 0 || board_.tooltip.count > 0)
        return true;
    if (p.pressed && p.pressed->kind == kSpinBox && p.spin_dir != 0)
        return true;
    bool moving = false;
    board_.for_each_widget([&](const std::string&, const Widget& w) {
        if (!moving && w.kind == kList && w.visible && board_.on_current_page(w))
            moving = list_moving(w, p.thumb_drag);
    });
    return moving;
}

void PointerDispatcher::restart_tick() {
    if (timers_ && !timers_->armed(kAnimationTimer) && needs_tick())
        timers_->arm(kAnimationTimer, kTickMs);
}

}  // namespace zentrik::ui
