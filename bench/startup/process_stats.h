#pragma once
// What the start-up benchmark reads about a process it started: its memory, processor time and
// the main thread's scheduling (all from /proc), and how it starts and stops one.
#include <sys/types.h>

#include <string>
#include <vector>

namespace startup_bench {

[[noreturn]] void die(const std::string& message);

// Resident memory in kB: the whole, and its anonymous (heap, stacks), file-backed (code,
// fonts, data files) and shared-memory parts (/proc/PID/status).
struct Memory {
    long rss_kb = -1;
    long anon_kb = -1;
    long file_kb = -1;
    long shmem_kb = -1;
};
Memory memory_of(pid_t pid);

// Processor time the process has used (user + system), in ms.
double cpu_ms(pid_t pid);

// The main thread's time on a processor and waiting for one, in ms (/proc/PID/schedstat).
struct ThreadTimes {
    double on_cpu_ms = -1;
    double waiting_ms = -1;
};
ThreadTimes main_thread_times(pid_t pid);

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env);
// Runs a program to its end; true when it exits with status 0.
bool run_to_end(const std::vector<std::string>& argv, const std::vector<std::string>& env);
// SIGTERM, then SIGKILL when it has not ended within 3 s.
void stop(pid_t pid);

}  // namespace startup_bench
