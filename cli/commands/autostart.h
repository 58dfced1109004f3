#pragma once
// zentrikctl autostart: start the window program, hidden, with the desktop session.
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kAutostartUsage[];
int run_autostart(CliContext& ctx);

}  // namespace zentrik::cli
