#pragma once
// Timers on virtual time: advance() moves a ManualClock and fires every timer that falls due,
// in time order, as often as its period allows. Nothing sleeps.
#include <cstdint>
#include <map>

#include "ui/input/clock.h"
#include "ui/input/timer_service.h"

namespace zentrik::ui {

class VirtualTimers : public TimerService {
  public:
    explicit VirtualTimers(ManualClock& clock) : clock_(clock) {}

    void arm(int id, int ms) override;
    void stop(int id) override { timers_.erase(id); }
    bool armed(int id) const override { return timers_.contains(id); }

    // Moves time on by `ms`, firing the timers that fall due on the way.
    void advance(std::int64_t ms);
    // Number of times timer `id` has fired so far.
    int fired(int id) const;

  private:
    struct Timer {
        int period;
        std::int64_t due;
    };
    ManualClock& clock_;
    std::map<int, Timer> timers_;
    std::map<int, int> fired_;
};

}  // namespace zentrik::ui
