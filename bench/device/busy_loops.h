#pragma once
// Two threads that keep the processor busy while a benchmark runs: one at the normal priority
// and one at nice 19, as a compiler and a background indexer would. They stop (and are joined)
// when the object goes away.
#include <atomic>
#include <thread>

namespace zentrik::bench {

class BusyLoops {
  public:
    BusyLoops();
    ~BusyLoops();
    BusyLoops(const BusyLoops&) = delete;
    BusyLoops& operator=(const BusyLoops&) = delete;

  private:
    std::atomic<bool> stop_{false};
    std::thread normal_;
    std::thread niced_;
};

}  // namespace zentrik::bench
