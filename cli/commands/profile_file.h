#pragma once
// zentrikctl profile-file: one profile of a mouse to and from a profile file (JSON,
// docs/profile-files.md).
#include "cli/cli_command.h"

namespace zentrik::cli {

int run_profile_file(CliContext& ctx);

extern const char* const kProfileFileUsage;

}  // namespace zentrik::cli
