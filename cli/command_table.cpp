// The table of zentrikctl's subcommands. Each lives in commands/<name>.cpp.
#include "cli/cli_command.h"
#include "cli/commands/keyname.h"
#include "cli/commands/lang.h"
#include "cli/commands/library.h"
#include "cli/commands/macro.h"

namespace zentrik::cli {

const std::vector<CliCommand>& all_commands() {
    static const std::vector<CliCommand> commands = {
        CliCommand{"macro", "show or build a macro file (*.mf)", kMacroUsage, run_macro},
        CliCommand{"keyname", "the name a macro shows for a keyboard or consumer key",
                   kKeynameUsage, run_keyname},
        CliCommand{"lang", "every text of the program as the language files give it", kLangUsage,
                   run_lang},
        CliCommand{"library", "the macro library: categories, entries, paths, sizes", kLibraryUsage,
                   run_library},
    };
    return commands;
}

}  // namespace zentrik::cli
