#include "core/mouse_job_lock.h"

namespace zentrik::core {

device::MouseLock hold_mouse_for_job(device::zklib& lib, const std::string& path,
                                     JobProgress& progress, const std::string* caption) {
    bool noted = false;
    auto lock = device::lock_mouse(lib, path, [&] {
        if (caption) {
            progress.set_text(device::kMouseBusyNote);
        } else {
            progress.begin(device::kMouseBusyNote);
            progress.set_fraction(0.0);
        }
        noted = true;
    });
    if (noted && caption)
        progress.set_text(*caption);
    else if (noted)
        progress.end();
    return lock;
}

std::string mouse_unavailable_message(const device::MouseLock& lock) {
    if (lock.outcome() == device::MouseLock::Outcome::kTimedOut)
        return device::kMouseBusyFailure;
    return "cannot lock the mouse for this job (" + lock.error() + ")";
}

JobResult mouse_unavailable_result(const device::MouseLock& lock) {
    JobResult r;
    r.status = JobStatus::failed;
    r.message = mouse_unavailable_message(lock);
    return r;
}

}  // namespace zentrik::core
