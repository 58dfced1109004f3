#pragma once
// zentrikctl backup, restore, reset and backups: the whole mouse to and from ".mbf" files, the
// reset to defaults, and the safety copies taken before each restore and reset.
#include "cli/cli_command.h"

namespace zentrik::cli {

int run_backup_command(CliContext& ctx);
int run_restore_command(CliContext& ctx);
int run_reset_command(CliContext& ctx);
int run_backups_command(CliContext& ctx);

extern const char* const kBackupUsage;
extern const char* const kRestoreUsage;
extern const char* const kResetUsage;
extern const char* const kBackupsUsage;

}  // namespace zentrik::cli
