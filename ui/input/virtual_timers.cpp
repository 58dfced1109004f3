#include "ui/input/virtual_timers.h"

#include <algorithm>

namespace zentrik::ui {

void VirtualTimers::arm(int id, int ms) {
    const int period = std::max(1, ms);
    timers_[id] = {period, clock_.now_ms() + period};
}

void VirtualTimers::advance(std::int64_t ms) {
    const std::int64_t end = clock_.now_ms() + ms;
    for (;;) {
        // The earliest due timer (lowest id first on a tie).
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->second.due <= end &&
                (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        if (next == timers_.end())
            break;
        const int id = next->first;
        clock_.set(next->second.due);
        next->second.due += next->second.period;
        ++fired_[id];
        fire(id);  // may stop or re-arm any timer
    }
    clock_.set(end);
}

int VirtualTimers::fired(int id) const {
    const auto it = fired_.find(id);
    return it == fired_.end() ? 0 : it->second;
}

}  // namespace zentrik::ui
