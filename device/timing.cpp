#include "device/timing.h"

#include <chrono>
#include <thread>

namespace zentrik::device {
namespace {

// The kernel may wake a sleeper this late; the rest of a sleep is spent yielding.
constexpr std::chrono::microseconds kWakeSlack{200};

}  // namespace

void SystemTiming::sleep_ms(int ms) {
    if (ms <= 0)
        return;
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(ms);
    const auto coarse = std::chrono::milliseconds(ms) - kWakeSlack;
    if (coarse.count() > 0)
        std::this_thread::sleep_for(coarse);
    while (clock::now() < deadline)
        std::this_thread::yield();
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
