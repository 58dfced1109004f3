#include <sched.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/precise_sleep.h"

namespace zentrik::platform {
namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

// The kernel's struct sched_attr (glibc has no wrapper for sched_getattr/sched_setattr).
struct SchedAttr {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime;  // for the normal policies: the time slice the thread asks for
    std::uint64_t deadline;
    std::uint64_t period;
    std::uint32_t util_min;
    std::uint32_t util_max;
};

// A thread that paces device exchanges sleeps nearly all the time and then needs the
// processor for a few microseconds, on time.
//  - Timer slack: the default (50 µs) lets the kernel merge wake-ups; 1 ns is the smallest
//    value prctl takes (0 would mean "back to the default").
//  - Time slice: the fair scheduler lets a woken thread preempt a busy one when the woken
//    thread asked for a short slice (Linux 6.12 and later; older kernels ignore the request).
//    With the default slice a 1 ms sleep beside busy programs ends several ms late. Policy
//    and nice value stay as they are; no privilege is needed.
void prepare_pacing_thread_once() {
    thread_local bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    SchedAttr attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0U) != 0)
        return;
    if (attr.policy != SCHED_OTHER && attr.policy != SCHED_BATCH)
        return;
    constexpr std::uint64_t kSliceNs = 100'000;  // the shortest slice the kernel accepts
    attr.size = sizeof attr;
    attr.flags = 0;
    attr.runtime = kSliceNs;
    syscall(SYS_sched_setattr, 0, &attr, 0U);
}

}  // namespace

std::int64_t monotonic_ns() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

void sleep_until_ns(std::int64_t deadline_ns) {
    prepare_pacing_thread_once();
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

std::int64_t requested_time_slice_ns() {
    SchedAttr attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0U) != 0)
        return 0;
    return static_cast<std::int64_t>(attr.runtime);
}

}  // namespace zentrik::platform
