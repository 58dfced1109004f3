#pragma once
// The window's "bt_backup", "bt_restore" and "bt_reset" buttons: each starts its job on the job
// runner (pointer input off until it ends); restore and reset reload the settings at their end,
// also after a failure, so the window shows what the mouse holds.
#include <filesystem>

namespace zentrik::core {

class Session;

inline constexpr int kBackupCommand = 96;
inline constexpr int kRestoreCommand = 97;
inline constexpr int kResetCommand = 98;

// Adds (or replaces) the three rows; safety copies go to `safety_directory`.
void install_backup_rows(Session& session, const std::filesystem::path& safety_directory);

}  // namespace zentrik::core
