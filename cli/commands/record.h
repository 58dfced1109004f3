#pragma once
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kRecordUsage[];
int run_record(CliContext& ctx);

}  // namespace zentrik::cli
