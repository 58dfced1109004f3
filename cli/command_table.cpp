// The table of zentrikctl's subcommands. Each lives in commands/<name>.cpp.
#include "cli/cli_command.h"
#include "cli/commands/hid_caps.h"

namespace zentrik::cli {

const std::vector<CliCommand>& all_commands() {
    static const std::vector<CliCommand> commands = {
        CliCommand{"hid-caps", "list the top-level collections of a HID report descriptor",
                   kHidCapsUsage, run_hid_caps},
    };
    return commands;
}

}  // namespace zentrik::cli
