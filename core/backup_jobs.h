#pragma once
// The backup, restore and reset jobs on one mouse. Each runs on a worker, shows its progress
// through `progress` (begun and ended inside the job) and says what happened in its result; none
// asks the user anything (backup_flows.h adds the dialogs).
#include <filesystem>
#include <functional>
#include <optional>

#include "core/backup_file.h"
#include "core/job_progress.h"
#include "core/job_result.h"
#include "device/device_record.h"
#include "device/zklib.h"

namespace zentrik::core {

// Saves the mouse's memory with `current` (the settings the window shows) to `target`. The file
// is written whole or not at all: an existing file stays as it was unless the backup is
// complete. `linger_ms` keeps the finished progress box up this long.
JobResult backup_to_file(device::zklib& lib, const device::_DEVICE_& device,
                         const BackupSettings& current, const std::filesystem::path& target,
                         JobProgress& progress, int linger_ms = 0);

// For the jobs that overwrite the mouse.
struct OverwriteOptions {
    // Where the safety copy taken before any write goes.
    std::filesystem::path safety_directory;
    // Runs once the job has decided to write, before its first write (the window cancels its
    // pending store-settings timer here).
    std::function<void()> before_writes;
};

// OverwriteOptions with the default safety-copy directory.
OverwriteOptions default_overwrite_options();

// Writes `backup` into the mouse: refused (nothing sent) when its memory size differs from the
// mouse's; otherwise a safety copy first (no copy, no restore), then the rate, wheel rate, DPI
// levels, the macro limit (restored_macro_limit), the memory image except its last 4 bytes,
// profile 1 then 0, and the store command.
JobResult restore_backup(device::zklib& lib, const device::_DEVICE_& device,
                         const BackupFile& backup, JobProgress& progress,
                         const OverwriteOptions& options);

// Why `backup` cannot go into `device` (its memory size differs), or nullopt when it can.
std::optional<JobResult> restore_refusal(const device::_DEVICE_& device, const BackupFile& backup);

// Returns the mouse to its defaults (no buttons, no names, default DPI levels by the mouse's DPI
// step, an empty macro directory, DPI level 1, profile 0, 500 Hz, wheel rate 1), after a safety
// copy. Stops at the first write that fails.
JobResult reset_mouse(device::zklib& lib, const device::_DEVICE_& device, JobProgress& progress,
                      const OverwriteOptions& options);

}  // namespace zentrik::core
