#include "bench/device/busy_loops.h"

#include <sys/resource.h>
#include <unistd.h>

namespace zentrik::bench {
namespace {

void spin(const std::atomic<bool>& stop) {
    volatile unsigned long counter = 0;
    while (!stop.load(std::memory_order_relaxed))
        counter = counter + 1;
}

}  // namespace

BusyLoops::BusyLoops()
    : normal_([this] { spin(stop_); }), niced_([this] {
          // Linux gives every thread its own nice value.
          setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
          spin(stop_);
      }) {}

BusyLoops::~BusyLoops() {
    stop_ = true;
    normal_.join();
    niced_.join();
}

}  // namespace zentrik::bench
