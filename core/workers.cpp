#include "core/workers.h"

namespace zentrik::core {

Workers::~Workers() {
    wait_all();
}

void Workers::start(std::function<void()> work) {
    if (mode_ == Mode::kInline) {
        work();
        return;
    }
    std::lock_guard lock(mutex_);
    reap_finished();
    ++running_;
    Entry& entry = threads_.emplace_back();
    entry.thread = std::thread([this, &entry, work = std::move(work)] {
        work();
        std::lock_guard done_lock(mutex_);
        entry.done = true;
        if (--running_ == 0)
            idle_.notify_all();
    });
}

void Workers::reap_finished() {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (it->done) {
            it->thread.join();
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

void Workers::wait_all() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return running_ == 0; });
    reap_finished();
}

int Workers::running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool JobRunner::run(std::function<void()> job) {
    bool expected = false;
    if (!busy_.compare_exchange_strong(expected, true))
        return false;
    board_.live = 0;
    workers_.start([this, job = std::move(job)] {
        job();
        board_.live = 1;
        busy_ = false;
    });
    return true;
}

}  // namespace zentrik::core
