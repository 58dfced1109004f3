#include "core/mouse_write_queue.h"

#include "core/mouse_job_lock.h"
#include "device/mouse_lock.h"

namespace zentrik::core {

void MouseWriteQueue::submit(const std::string& path, Write write, Written written) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({path, std::move(write), std::move(written)});
        if (draining_)
            return;  // the worker that drains takes it in turn
        draining_ = true;
    }
    workers_.start([this] { drain(); });
}

void MouseWriteQueue::drain() {
    for (;;) {
        Entry next;
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
        auto lock = device::lock_mouse(lib_, next.path, nullptr);
        if (!lock.held()) {
            dialogs_.message("", mouse_unavailable_message(lock));
            continue;
        }
        const bool went_through = next.write(lib_, next.path) != 0;
        lock.release();  // whoever `written` tells reads the mouse in its own lock
        if (went_through && next.written)
            next.written();
    }
}

}  // namespace zentrik::core
