#pragma once
// Sleeps that end close to their deadline without spinning, for the threads that talk to the
// mouse: every exchange is a chain of 1–3 ms sleeps, so a late wake-up of even 100 µs shows up
// as several per cent of a backup's or restore's time.
#include <cstdint>

namespace zentrik::platform {

// The monotonic clock in nanoseconds.
std::int64_t monotonic_ns();

// Blocks until the monotonic clock reaches `deadline_ns` (returns at once when it has). The
// deadline is absolute, so an interrupted sleep resumes without drifting. The first call on a
// thread asks the kernel to wake that thread with the least timer slack it allows and to let
// it preempt busy threads when it wakes (a short time slice; see the Linux implementation).
void sleep_until_ns(std::int64_t deadline_ns);

// The calling thread's timer slack in nanoseconds (how late the kernel may wake it), or -1
// when it cannot be read.
std::int64_t timer_slack_ns();

// The time slice the calling thread asked the scheduler for, in nanoseconds; 0 when it asked
// for none or the kernel cannot tell.
std::int64_t requested_time_slice_ns();

}  // namespace zentrik::platform
