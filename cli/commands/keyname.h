#pragma once
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kKeynameUsage[];
int run_keyname(CliContext& ctx);

}  // namespace zentrik::cli
