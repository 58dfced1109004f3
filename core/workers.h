#pragma once
// Worker threads for device work, tracked so that tests and the exit path can wait for them;
// and the job runner that keeps one long job at a time with pointer input off meanwhile.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

#include "ui/widget_board.h"

namespace zentrik::core {

class Workers {
  public:
    enum class Mode {
        kThreads,  // each piece of work on a thread of its own
        kInline,   // work runs at once on the caller's thread (deterministic tests)
    };
    explicit Workers(Mode mode = Mode::kThreads) : mode_(mode) {}
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void start(std::function<void()> work);
    // Waits until no worker runs, including workers started by workers.
    void wait_all();
    int running() const;
    Mode mode() const { return mode_; }

  private:
    void reap_finished();

    const Mode mode_;
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    struct Entry {
        std::thread thread;
        bool done = false;
    };
    std::list<Entry> threads_;
    int running_ = 0;
};

class JobRunner {
  public:
    JobRunner(Workers& workers, ui::WidgetBoard& board) : workers_(workers), board_(board) {}
    // Clears the board's `live` flag and runs `job` on a worker; sets `live` again when it
    // ends. False (and nothing started) while another job runs.
    bool run(std::function<void()> job);
    bool busy() const { return busy_.load(); }

  private:
    Workers& workers_;
    ui::WidgetBoard& board_;
    std::atomic<bool> busy_{false};
};

}  // namespace zentrik::core
