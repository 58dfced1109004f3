#include "device/timing.h"

#include <chrono>

#include "platform/precise_sleep.h"

namespace zentrik::device {

void SystemTiming::sleep_ms(int ms) {
    if (ms <= 0)
        return;
    platform::sleep_until_ns(platform::monotonic_ns() + std::int64_t{ms} * 1'000'000);
}

std::int64_t SystemTiming::now_us() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::shared_ptr<Timing> make_system_timing() {
    return std::make_shared<SystemTiming>();
}

}  // namespace zentrik::device
