#include "tilt/tilt_scroller.h"

namespace zentrik::tilt {

TiltScroller::TiltScroller(std::unique_ptr<platform::WindowSystem> windows, TiltRuleTable rules,
                           std::unique_ptr<platform::ExclusiveLock> output)
    : windows_(std::move(windows)), rules_(std::move(rules)), output_(std::move(output)) {}

TiltScroller::~TiltScroller() {
    stop();
}

void TiltScroller::start() {
    if (thread_.joinable() || !windows_)
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
    }
    thread_ = std::thread([this] { run(); });
}

void TiltScroller::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void TiltScroller::tilt(int amount) {
    accumulator_.add(amount);
    // Taking the lock orders the addition before the thread's check of the accumulator, so a
    // wake-up is never missed.
    { std::lock_guard lock(mutex_); }
    wake_.notify_one();
}

void TiltScroller::set_step_observer(std::function<void(int, bool)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void TiltScroller::run() {
    for (;;) {
        std::function<void(int, bool)> observer;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || accumulator_.peek() != 0; });
            if (stopping_)
                return;
            observer = observer_;
        }
        const int amount = accumulator_.take();
        bool sent = false;
        // Asked at every step, so the next program takes over when the holder ends.
        const bool holds_output = !output_ || output_->try_take();
        if (holds_output) {
            if (const auto step = choose_tilt_step(amount, windows_->window_facts(), rules_))
                sent = windows_->send_scroll(step->gesture, step->toward_left);
        }
        if (observer)
            observer(amount, sent);
    }
}

}  // namespace zentrik::tilt
