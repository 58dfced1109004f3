#pragma once
// Internal to sim/: one access to the state a simulated mouse shares with other programs.
// Taken with the mouse's mutex held, it holds the file lock, first re-reads the state files
// when another program changed them, and saves what the access changed before the lock goes.
#include "sim/sim_mouse.h"

namespace zentrik::sim {

class SimMouse::SharedAccess {
  public:
    explicit SharedAccess(const SimMouse& mouse) : mouse_(mouse) {
        if (!mouse_.lock_)
            return;
        mouse_.lock_->lock();
        const std::uint64_t counter = mouse_.lock_->counter();
        if (counter != mouse_.seen_counter_) {
            mouse_.load_all();
            mouse_.seen_counter_ = counter;
        }
    }
    ~SharedAccess() {
        mouse_.save_changes();  // a no-op when save() saved everything
        if (mouse_.lock_)
            mouse_.lock_->unlock();
    }
    SharedAccess(const SharedAccess&) = delete;
    SharedAccess& operator=(const SharedAccess&) = delete;

    // Saves what changed so far; false (said once on stderr) when it could not be saved.
    bool save() { return mouse_.save_changes(); }

  private:
    const SimMouse& mouse_;
};

}  // namespace zentrik::sim
