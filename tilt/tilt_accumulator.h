#pragma once
// The tilt amounts reported by the mouse and not yet scrolled. The window thread adds to it; the
// tilt thread takes the whole amount in one atomic exchange, so no tilt is lost between the two.
#include <atomic>

namespace zentrik::tilt {

class TiltAccumulator {
  public:
    void add(int amount) { value_.fetch_add(amount); }
    int take() { return value_.exchange(0); }
    int peek() const { return value_.load(); }

  private:
    std::atomic<int> value_{0};
};

}  // namespace zentrik::tilt
