#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

#include "platform/precise_sleep.h"

namespace zentrik::platform {
namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

// The default slack (50 µs) lets the kernel merge wake-ups; a thread that paces device
// exchanges wants its timers to fire on time instead. 1 ns is the smallest value prctl takes
// (0 would mean "back to the default").
void lower_timer_slack_once() {
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

}  // namespace

std::int64_t monotonic_ns() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

void sleep_until_ns(std::int64_t deadline_ns) {
    lower_timer_slack_once();
    if (deadline_ns <= 0)
        return;
    timespec until{};
    until.tv_sec = static_cast<time_t>(deadline_ns / kNsPerSecond);
    until.tv_nsec = static_cast<long>(deadline_ns % kNsPerSecond);
    // clock_nanosleep returns the error number itself; only a signal cuts a sleep short.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

std::int64_t timer_slack_ns() {
    const int slack = prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);
    return slack < 0 ? -1 : slack;
}

}  // namespace zentrik::platform
