#pragma once
// One job at a time per mouse, across programs. A job that reads something it then relies on
// and writes (a macro save, a restore, a settings write, the window's load) holds the mouse's
// lock from its first such read to its last write, so another program's job never runs in
// between. The zklib lock still serialises single exchanges within this program; this lock is
// taken once per job, never per exchange.
//
// The lock is a file lock keyed by the mouse (HidBackend::lock_key), so the operating system
// lets go of it when its holder ends. A thread that already holds a mouse's lock takes it
// again at no cost (a job that runs another, such as the safety copy before a restore).
#include <functional>
#include <memory>
#include <string>

#include "device/zklib.h"

namespace zentrik::device {

// How long a job waits for a mouse another program is using before it gives up.
inline constexpr int kDefaultMouseWaitMs = 30000;
// kDefaultMouseWaitMs, or the milliseconds in ZENTRIK_MOUSE_WAIT_MS when that holds a number
// (scripts and tests that want a shorter or longer wait).
int mouse_wait_ms();

class MouseLock {
  public:
    enum class Outcome {
        kHeld,      // this job has the mouse
        kTimedOut,  // another program kept the mouse for the whole wait
        kFailed,    // the lock file could not be made (see error())
    };
    MouseLock();
    MouseLock(MouseLock&&) noexcept;
    MouseLock& operator=(MouseLock&&) noexcept;
    ~MouseLock();

    Outcome outcome() const { return outcome_; }
    bool held() const { return held_ != nullptr; }
    const std::string& error() const { return error_; }
    // Lets go before the end of the job (before a question that may take long); outcome()
    // stays what it was.
    void release();

  private:
    friend MouseLock lock_mouse(zklib&, const std::string&, const std::function<void()>&, int);
    struct Held;
    std::unique_ptr<Held> held_;
    Outcome outcome_ = Outcome::kFailed;
    std::string error_;
};

// Takes the lock of the mouse at `path`. When another program has it, `on_busy` runs once (to
// show that this one waits) and the lock is tried again every 100 ms of lib's timing until
// `wait_ms` have passed.
MouseLock lock_mouse(zklib& lib, const std::string& path, const std::function<void()>& on_busy,
                     int wait_ms = mouse_wait_ms());

// The note a waiting program shows, and the message it gives up with.
inline constexpr const char* kMouseBusyNote = "another program is using this mouse\u2026";
inline constexpr const char* kMouseBusyFailure =
    "another program kept using this mouse; nothing was changed, try again when it is done";

}  // namespace zentrik::device
