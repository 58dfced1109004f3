#include "core/mouse_write_queue.h"

#include "core/mouse_job_lock.h"
#include "device/mouse_lock.h"

namespace zentrik::core {

void MouseWriteQueue::submit(const std::string& path, Write write) {
    {
        std::lock_guard lock(mutex_);
        queue_.emplace_back(path, std::move(write));
        if (draining_)
            return;  // the worker that drains takes it in turn
        draining_ = true;
    }
    workers_.start([this] { drain(); });
}

void MouseWriteQueue::drain() {
    for (;;) {
        std::pair<std::string, Write> next;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                draining_ = false;
                return;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        // A short write; it waits while another program's job runs, without a box of its own.
        const auto lock = device::lock_mouse(lib_, next.first, nullptr);
        if (!lock.held()) {
            dialogs_.message("", mouse_unavailable_message(lock));
            continue;
        }
        next.second(lib_, next.first);
    }
}

}  // namespace zentrik::core
