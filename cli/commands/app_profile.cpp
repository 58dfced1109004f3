// zentrikctl app-profile list|add|remove|default, and zentrikctl notify on|off.
#include "cli/commands/app_profile.h"

#include <filesystem>
#include <system_error>

#include "cli/exit_codes.h"
#include "cli/json_output.h"
#include "core/app_profile_rules.h"
#include "core/profile_notes_setting.h"
#include "platform/paths.h"
#include "platform/raw_input.h"
#include "platform/replacing_file.h"

namespace zentrik::cli {

const char kAppProfileUsage[] =
    "Usage: zentrikctl app-profile list [--json]\n"
    "       zentrikctl app-profile add CLASS PROFILE\n"
    "       zentrikctl app-profile remove CLASS\n"
    "       zentrikctl app-profile default PROFILE|none\n"
    "Chooses the mouse's profile (0-4) by the program in front. The running program (shown or\n"
    "hidden) selects PROFILE when a window of CLASS has had the focus for a moment, and the\n"
    "default profile (if one is set) for every other program; a profile chosen on the mouse or\n"
    "in the window holds until the focus moves to another window. CLASS is the instance or class\n"
    "name of the window's WM_CLASS (`xprop WM_CLASS` prints both), case ignored; a trailing '*'\n"
    "matches every name that begins with what precedes it. The rules are kept in\n"
    "$XDG_CONFIG_HOME/zentrik/app-profiles (one \"CLASS PROFILE\" a line), which the program\n"
    "reads again when it changes. On a Wayland session the program in front cannot be seen, so\n"
    "the rules apply only to X11 programs (through XWayland) where the desktop reports them.\n";

const char kNotifyUsage[] =
    "Usage: zentrikctl notify [on|off] [--json]\n"
    "Whether the running program shows a desktop note naming the profile when the mouse's\n"
    "profile changes while its window is hidden (by the mouse's own button, a per-program rule\n"
    "or zentrikctl). On by default; kept in $XDG_CONFIG_HOME/zentrik/set.ini. Without an\n"
    "argument it prints \"on\" or \"off\".\n";

namespace {

namespace fs = std::filesystem;

std::optional<int> profile_arg(const std::string& text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '4')
        return std::nullopt;
    return text[0] - '0';
}

int usage_error(CliContext& ctx, const std::string& what) {
    ctx.err << "zentrikctl app-profile: " << what << " (see zentrikctl app-profile --help)\n";
    return kExitUsage;
}

// The rules as the file holds them; false (said on stderr) when the file is there but refused.
bool read_rules(CliContext& ctx, const fs::path& file, core::AppProfileRules& rules) {
    core::AppProfileFile read = core::load_app_profiles(file);
    for (const std::string& error : read.errors)
        ctx.err << "zentrikctl app-profile: " << error << "\n";
    if (read.refused)
        return false;
    rules = std::move(read.rules);
    return true;
}

int write_rules(CliContext& ctx, const fs::path& file, const core::AppProfileRules& rules) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::string error;
    if (!platform::replace_file(file, rules.text(), &error)) {
        ctx.err << "zentrikctl app-profile: " << error << "\n";
        return kExitBadFile;
    }
    return kExitOk;
}

void print_list(CliContext& ctx, const fs::path& file, const core::AppProfileRules& rules) {
    if (ctx.globals.json) {
        Json list = Json::array();
        for (const auto& rule : rules.rules())
            list.push_back({{"class", rule.class_pattern}, {"profile", rule.profile}});
        Json out = {{"file", file.string()}, {"rules", list}};
        out["default"] = rules.default_profile() ? Json(*rules.default_profile()) : Json(nullptr);
        out["wayland"] = platform::wayland_session();
        print_json(ctx.out, out);
        return;
    }
    for (const auto& rule : rules.rules())
        ctx.out << rule.class_pattern << " " << rule.profile << "\n";
    if (rules.default_profile())
        ctx.out << "default " << *rules.default_profile() << "\n";
    if (platform::wayland_session())
        ctx.err << "zentrikctl app-profile: note: on a Wayland session the program in front "
                   "cannot be seen; the rules apply only where the desktop reports it (X11)\n";
}

}  // namespace

int run_app_profile(CliContext& ctx) {
    const auto& args = ctx.args;
    if (args.empty())
        return usage_error(ctx, "expects list, add, remove or default");
    const std::string& verb = args[0];
    const fs::path file = core::user_app_profile_file();
    core::AppProfileRules rules;
    if (verb == "list") {
        if (args.size() != 1)
            return usage_error(ctx, "list takes no argument");
        if (!read_rules(ctx, file, rules))
            return kExitBadFile;
        print_list(ctx, file, rules);
        return kExitOk;
    }
    if (verb == "add") {
        if (args.size() != 3)
            return usage_error(ctx, "expects add CLASS PROFILE");
        if (!core::valid_app_class(args[1]))
            return usage_error(ctx, "'" + args[1] + "' is not a window class");
        const auto profile = profile_arg(args[2]);
        if (!profile)
            return usage_error(ctx, "the profile must be 0-4, not '" + args[2] + "'");
        if (!read_rules(ctx, file, rules))
            return kExitBadFile;
        rules.set_rule(args[1], *profile);
        return write_rules(ctx, file, rules);
    }
    if (verb == "remove") {
        if (args.size() != 2)
            return usage_error(ctx, "expects remove CLASS");
        if (!read_rules(ctx, file, rules))
            return kExitBadFile;
        if (!rules.remove_rule(args[1])) {
            ctx.err << "zentrikctl app-profile: no rule for '" << args[1] << "'\n";
            return kExitFailure;
        }
        return write_rules(ctx, file, rules);
    }
    if (verb == "default") {
        if (args.size() != 2)
            return usage_error(ctx, "expects default PROFILE or default none");
        const auto profile = profile_arg(args[1]);
        if (!profile && args[1] != "none")
            return usage_error(ctx, "the profile must be 0-4 or none, not '" + args[1] + "'");
        if (!read_rules(ctx, file, rules))
            return kExitBadFile;
        rules.set_default(profile);
        return write_rules(ctx, file, rules);
    }
    return usage_error(ctx, "unknown action '" + verb + "'");
}

int run_notify(CliContext& ctx) {
    if (ctx.args.size() > 1 ||
        (ctx.args.size() == 1 && ctx.args[0] != "on" && ctx.args[0] != "off")) {
        ctx.err << "zentrikctl notify: expects 'on', 'off' or nothing (see zentrikctl notify "
                   "--help)\n";
        return kExitUsage;
    }
    const fs::path folder = platform::user_config_directory();
    if (ctx.args.size() == 1) {
        std::string error;
        if (!core::store_profile_notes(folder, ctx.args[0] == "on", &error)) {
            ctx.err << "zentrikctl notify: " << error << "\n";
            return kExitBadFile;
        }
    }
    const bool on = core::profile_notes_enabled(folder);
    if (ctx.globals.json)
        print_json(ctx.out, {{"notify", on}});
    else if (ctx.args.empty())
        ctx.out << (on ? "on" : "off") << "\n";
    return kExitOk;
}

}  // namespace zentrik::cli
