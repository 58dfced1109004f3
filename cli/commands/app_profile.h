#pragma once
// zentrikctl app-profile and zentrikctl notify: the per-program profile rules, and the note the
// running program shows when the profile changes.
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kAppProfileUsage[];
int run_app_profile(CliContext& ctx);

extern const char kNotifyUsage[];
int run_notify(CliContext& ctx);

}  // namespace zentrik::cli
