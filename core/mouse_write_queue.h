#pragma once
// The window's short writes (a button's function, the current profile or DPI level, a profile's
// name) in the order the user made them, on a worker, each inside the mouse's lock: a job of
// another program is never cut into, and the window never waits for one.
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "core/workers.h"
#include "device/zklib.h"
#include "ui/dialogs.h"

namespace zentrik::core {

class MouseWriteQueue {
  public:
    // A write answers whether the mouse took it (nonzero, as the device commands answer).
    using Write = std::function<int(device::zklib&, const std::string& path)>;
    // Runs once a write went through and the mouse's lock is free again.
    using Written = std::function<void()>;
    MouseWriteQueue(device::zklib& lib, Workers& workers, ui::Dialogs& dialogs)
        : lib_(lib), workers_(workers), dialogs_(dialogs) {}

    // Writes to the mouse at `path` once the writes before it are done.
    void submit(const std::string& path, Write write, Written written = nullptr);

  private:
    void drain();

    device::zklib& lib_;
    Workers& workers_;
    ui::Dialogs& dialogs_;
    std::mutex mutex_;
    struct Entry {
        std::string path;
        Write write;
        Written written;
    };
    std::deque<Entry> queue_;
    bool draining_ = false;
};

}  // namespace zentrik::core
