#pragma once
#include "cli/cli_command.h"

namespace zentrik::cli {

extern const char kLangUsage[];
int run_lang(CliContext& ctx);

}  // namespace zentrik::cli
