#pragma once
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kMacroUsage[];
int run_macro(CliContext& ctx);

}  // namespace zentrik::cli
