#pragma once
// Time as the pointer logic reads it: milliseconds on a monotonic clock. Tests pass a clock
// they move by hand, so double presses, wheel acceleration and auto-repeat run without waiting.
#include <chrono>
#include <cstdint>

namespace zentrik::ui {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t now_ms() const = 0;
};

class SteadyClock : public Clock {
  public:
    std::int64_t now_ms() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

// A clock that only moves when told to.
class ManualClock : public Clock {
  public:
    std::int64_t now_ms() const override { return now_; }
    void advance(std::int64_t ms) { now_ += ms; }
    void set(std::int64_t ms) { now_ = ms; }

  private:
    std::int64_t now_ = 0;
};

}  // namespace zentrik::ui
