#pragma once
// One program per desktop sends the tilt steps. Every running instance (another
// ZENTRIK_INSTANCE, a second window) hears the mouse's tilt reports; without this lock each
// would scroll once per tilt. The lock is per user and per desktop, so a program on another
// display (a nested or virtual X server) scrolls its own desktop.
#include <memory>
#include <string>

#include "platform/exclusive_lock.h"

namespace zentrik::tilt {

// The lock file's name for `desktop` (WindowSystem::desktop()): "tilt-" and the name with
// every character but letters, digits, '.', '-' and '_' made '_'.
std::string tilt_output_lock_name(const std::string& desktop);

// Opened, not taken; nullptr with `error` set when the lock folder cannot be used.
std::unique_ptr<platform::ExclusiveLock> open_tilt_output_lock(const std::string& desktop,
                                                               std::string& error);

}  // namespace zentrik::tilt
