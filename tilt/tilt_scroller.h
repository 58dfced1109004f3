#pragma once
// The tilt thread: sleeps until the mouse reports a tilt, then makes one scroll step in the
// direction of everything tilted since its last step. Several tilts that arrive while it is busy
// become one step in the direction of their sum.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/exclusive_lock.h"
#include "platform/window_system.h"
#include "tilt/tilt_accumulator.h"
#include "tilt/tilt_rules.h"

namespace zentrik::tilt {

class TiltScroller {
  public:
    // The window system is used on the tilt thread only. With `output`, a step is sent only
    // while this program holds that lock (see tilt_output_lock.h); another running program
    // that holds it sends the step instead.
    TiltScroller(std::unique_ptr<platform::WindowSystem> windows, TiltRuleTable rules,
                 std::unique_ptr<platform::ExclusiveLock> output = nullptr);
    // Stops and joins the thread.
    ~TiltScroller();
    TiltScroller(const TiltScroller&) = delete;
    TiltScroller& operator=(const TiltScroller&) = delete;

    void start();
    void stop();

    // From the thread that reads the mouse's reports: a tilt of `amount` (negative = left).
    void tilt(int amount);

    // Called on the tilt thread after every wake-up that took an amount (tests wait on it).
    void set_step_observer(std::function<void(int amount, bool sent)> observer);

  private:
    void run();

    std::unique_ptr<platform::WindowSystem> windows_;
    const TiltRuleTable rules_;
    std::unique_ptr<platform::ExclusiveLock> output_;
    TiltAccumulator accumulator_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::function<void(int, bool)> observer_;
    std::thread thread_;
};

}  // namespace zentrik::tilt
