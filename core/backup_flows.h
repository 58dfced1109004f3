#pragma once
// What the window's "bt_backup", "bt_restore" and "bt_reset" buttons run on a worker (with
// pointer input off): the dialogs, the job, and the message box at its end. When the result
// says `reload`, the window clears its loaded flags and loads the settings from the mouse again.
#include "core/backup_jobs.h"
#include "device/device_record.h"
#include "device/zklib.h"
#include "ui/dialogs.h"

namespace zentrik::core {

// The dialog of both file choices; `initial_name` is set for the save dialog only.
ui::FileDialogRequest backup_dialog_request(bool saving);

// Save dialog ("backup_" + today's date), then the backup with the settings the window shows;
// a finished backup says where it was saved.
JobResult run_backup(device::zklib& lib, const device::_DEVICE_& device,
                     const BackupSettings& current, ui::Dialogs& dialogs, JobProgress& progress);

// Open dialog, the whole file checked, the question naming it, then the restore.
JobResult run_restore(device::zklib& lib, const device::_DEVICE_& device, ui::Dialogs& dialogs,
                      JobProgress& progress, const OverwriteOptions& options);

// The Yes/No question ("Reset" / "All setting will lose, continue?"), then the reset.
JobResult run_reset(device::zklib& lib, const device::_DEVICE_& device, ui::Dialogs& dialogs,
                    JobProgress& progress, const OverwriteOptions& options);

}  // namespace zentrik::core
