// The table of zentrikctl's subcommands. Each lives in commands/<name>.cpp.
#include "cli/cli_command.h"
#include "cli/commands/device_commands.h"
#include "cli/commands/keyname.h"
#include "cli/commands/lang.h"
#include "cli/commands/library.h"
#include "cli/commands/macro.h"
#include "cli/commands/macros.h"
#include "cli/commands/hid_caps.h"

namespace zentrik::cli {

const std::vector<CliCommand>& all_commands() {
    static const std::vector<CliCommand> commands = {
        {"list", "list the mice found, with identity and memory size", kDeviceListUsage,
         run_device_list},
        {"identify", "read (or give) a mouse's identity number and find its memory size",
         kDeviceIdentifyUsage, run_device_identify},
        {"read", "hex dump of a mouse's memory", kDeviceReadUsage, run_device_read},
        {"names", "print the five profile names", kDeviceNamesUsage, run_device_names},
        {"name", "name a profile", kDeviceNameUsage, run_device_name},
        CliCommand{"macro", "show or build a macro file (*.mf)", kMacroUsage, run_macro},
        CliCommand{"macros",
                   "the macros stored in the mouse: list, read, write, rename, remove, defrag",
                   kMacrosUsage, run_macros},
        CliCommand{"keyname", "the name a macro shows for a keyboard or consumer key",
                   kKeynameUsage, run_keyname},
        CliCommand{"lang", "every text of the program as the language files give it", kLangUsage,
                   run_lang},
        CliCommand{"library", "the macro library: categories, entries, paths, sizes", kLibraryUsage,
                   run_library},
        CliCommand{"hid-caps", "list the top-level collections of a HID report descriptor",
                   kHidCapsUsage, run_hid_caps},
    };
    return commands;
}

}  // namespace zentrik::cli
