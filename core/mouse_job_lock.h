#pragma once
// The mouse's lock as the jobs of the core take it (device/mouse_lock.h): the wait shows in the
// job's progress box, and a job that cannot have the mouse ends with a message, nothing sent.
#include <string>

#include "core/job_progress.h"
#include "core/job_result.h"
#include "device/mouse_lock.h"

namespace zentrik::core {

// Takes the lock of the mouse at `path` for a job whose progress box shows `caption`. While
// another program has the mouse the box reads "another program is using this mouse…"; once
// the lock is had, `caption` again. Without a caption (a job whose box is not up yet) the box
// shows only during the wait.
device::MouseLock hold_mouse_for_job(device::zklib& lib, const std::string& path,
                                     JobProgress& progress, const std::string* caption);

// What a job that could not have the mouse tells the user.
std::string mouse_unavailable_message(const device::MouseLock& lock);
// The failed result of such a job: nothing was sent to the mouse.
JobResult mouse_unavailable_result(const device::MouseLock& lock);

}  // namespace zentrik::core
