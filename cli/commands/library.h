#pragma once
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kLibraryUsage[];
int run_library(CliContext& ctx);

}  // namespace zentrik::cli
