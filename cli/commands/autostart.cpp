// zentrikctl autostart [on|off]: an XDG autostart entry that runs the program with /hide.
#include "cli/commands/autostart.h"

#include <cstdlib>
#include <ostream>
#include <system_error>

#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"

namespace zentrik::cli {

const char kAutostartUsage[] =
    "Usage: zentrikctl autostart [on|off] [--json]\n"
    "Starts the program with the desktop session, hidden in the tray, or stops doing so\n"
    "(off by default). It writes or removes zentrik.desktop in $XDG_CONFIG_HOME/autostart\n"
    "(default ~/.config/autostart). Without an argument it prints \"on\" or \"off\".\n";

namespace {

namespace fs = std::filesystem;

fs::path autostart_file() {
    // The autostart folder sits beside the program's own config folder.
    return platform::user_config_directory().parent_path() / "autostart" / "zentrik.desktop";
}

// The program beside zentrikctl when installed together, else the one on PATH.
std::string program_command() {
    std::error_code ec;
    const auto beside = platform::module_directory() / "zentrik";
    if (fs::is_regular_file(beside, ec) &&
        beside.string().find_first_of(" \t\"'\\$`%") == std::string::npos)
        return beside.string();
    return "zentrik";
}

std::string entry_text() {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Zentrik Mouse\n"
           "Comment=Configure Zentrik mice; started hidden in the tray\n"
           "Exec=" +
           program_command() +
           " /hide\n"
           "Icon=zentrik\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

// The whole entry or nothing, in its folder (created when missing).
bool write_whole(const fs::path& path, const std::string& text, std::string& error) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    return platform::replace_file(path, text, &error);
}

}  // namespace

int run_autostart(CliContext& ctx) {
    if (ctx.args.size() > 1 ||
        (ctx.args.size() == 1 && ctx.args[0] != "on" && ctx.args[0] != "off")) {
        ctx.err << "zentrikctl autostart: expects 'on', 'off' or nothing (see zentrikctl "
                   "autostart --help)\n";
        return kExitUsage;
    }
    const fs::path file = autostart_file();
    std::error_code ec;
    std::string error;
    if (ctx.args.size() == 1 && ctx.args[0] == "on" && !write_whole(file, entry_text(), error)) {
        ctx.err << "zentrikctl autostart: " << error
                << " (check that its folder is yours and writable)\n";
        return kExitBadFile;
    }
    if (ctx.args.size() == 1 && ctx.args[0] == "off" && !fs::remove(file, ec) && ec) {
        ctx.err << "zentrikctl autostart: cannot remove '" << file.string() << "' (" << ec.message()
                << ")\n";
        return kExitBadFile;
    }
    const bool on = fs::exists(file, ec);
    if (ctx.globals.json)
        print_json(ctx.out, {{"autostart", on}, {"file", file.string()}});
    else if (ctx.args.empty())
        ctx.out << (on ? "on" : "off") << "\n";
    return kExitOk;
}

}  // namespace zentrik::cli
