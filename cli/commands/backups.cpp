// zentrikctl backups [--json]: the safety copies taken before restores and resets.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands/backup.h"
#include "cli/exit_codes.h"
#include "core/safety_copies.h"

namespace zentrik::cli {

const char* const kBackupsUsage =
    "Usage: zentrikctl backups [--json]\n"
    "Lists the safety copies saved before each restore and reset, oldest first: the file, the\n"
    "mouse's identity number, when it was saved and the memory size. They live in\n"
    "$XDG_STATE_HOME/zentrik/backups (default ~/.local/state/zentrik/backups); the newest ten\n"
    "of each mouse are kept. Undo a reset or restore with 'zentrikctl restore FILE'.\n";

int run_backups_command(CliContext& ctx) {
    const bool json = ctx.globals.json;
    for (const auto& a : ctx.args) {
        ctx.err << "zentrikctl backups: unexpected argument '" << a << "'\n" << kBackupsUsage;
        return kExitUsage;
    }
    const auto directory = core::default_safety_copy_directory();
    const auto copies = core::list_safety_copies(directory);
    if (json) {
        auto list = nlohmann::json::array();
        for (const auto& c : copies) {
            list.push_back({{"file", c.file.string()},
                            {"mouse", c.mouse},
                            {"saved", c.saved_at},
                            {"memory_size", c.memory_size}});
        }
        ctx.out << list.dump(2) << "\n";
        return kExitOk;
    }
    if (copies.empty()) {
        ctx.out << "no safety copies in " << directory.string() << "\n";
        return kExitOk;
    }
    for (const auto& c : copies) {
        ctx.out << c.saved_at << "  mouse " << c.mouse << "  "
                << (c.memory_size ? std::to_string(c.memory_size) + " bytes" : "unreadable") << "  "
                << c.file.string() << "\n";
    }
    return kExitOk;
}

}  // namespace zentrik::cli
