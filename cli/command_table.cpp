// The table of zentrikctl's subcommands. Each lives in commands/<name>.cpp.
#include "cli/cli_command.h"

namespace zentrik::cli {

const std::vector<CliCommand>& all_commands() {
    static const std::vector<CliCommand> commands = {};
    return commands;
}

}  // namespace zentrik::cli
