// zentrikctl names, zentrikctl name P TEXT: the five profile names kept in the mouse.
#include <ostream>

#include "cli/commands/device_commands.h"
#include "cli/commands/device_session.h"
#include "cli/commands/window_notice.h"
#include "cli/json_output.h"
#include "device/commands.h"
#include "lang/text_codec.h"

namespace zentrik::cli {

const char* const kDeviceNamesUsage =
    "Usage: zentrikctl names [--device=N] [--json]\n"
    "Prints the names of the five profiles, one line each: the index (0-4) that 'name' takes,\n"
    "the profile number (1-5) and the name, or '(no name)'.\n";

const char* const kDeviceNameUsage =
    "Usage: zentrikctl name [--device=N] P TEXT\n"
    "Names profile P (index 0-4; profile 1 is index 0). The mouse keeps 6 characters; a longer\n"
    "TEXT is cut. An empty TEXT ('') clears the name.\n";

namespace {

constexpr int kProfiles = 5;
constexpr std::size_t kNameChars = 6;

}  // namespace

int run_device_names(CliContext& ctx) {
    int status = 0;
    auto mouse = open_mouse_without_arguments(ctx, "names", status);
    if (!mouse)
        return status;
    device::zklib& lib = *mouse->lib;
    const device::_DEVICE_* d = &mouse->device;
    Json profiles = Json::array();
    std::string text;
    for (int p = 0; p < kProfiles; ++p) {
        const auto name = device::read_profile_name(lib, d->path, p);
        if (!name) {
            ctx.err << "zentrikctl names: the mouse did not answer; check the cable and try "
                       "again\n";
            return kExitDevice;
        }
        profiles.push_back({{"index", p},
                            {"profile", p + 1},
                            {"name", name->empty() ? Json() : Json(lang::utf16_to_utf8(*name))}});
        text += std::to_string(p) + "  profile " + std::to_string(p + 1) + "  " +
                (name->empty() ? "(no name)" : lang::utf16_to_utf8(*name)) + "\n";
    }
    // Nothing is printed until every name was read: a failure leaves no partial list.
    if (ctx.globals.json)
        print_json(ctx.out, {{"path", d->path}, {"profiles", profiles}});
    else
        ctx.out << text;
    return kExitOk;
}

int run_device_name(CliContext& ctx) {
    auto args = ctx.args;
    const auto index = take_device_option(ctx, args);
    if (!index)
        return kExitUsage;
    if (args.size() != 2) {
        ctx.err << "zentrikctl name: expected P and TEXT (see zentrikctl name --help)\n";
        return kExitUsage;
    }
    const auto profile = parse_number(args[0]);
    if (!profile || *profile >= kProfiles) {
        ctx.err << "zentrikctl name: P must be a profile index from 0 to 4, not '" << args[0]
                << "'\n";
        return kExitUsage;
    }
    std::u16string text = lang::utf8_to_utf16(args[1]);
    if (text.size() > kNameChars) {
        ctx.err << "zentrikctl name: the mouse keeps 6 characters; storing '"
                << lang::utf16_to_utf8(text.substr(0, kNameChars)) << "'\n";
    }
    int status = 0;
    auto mouse = open_addressed_mouse(ctx, *index, status, nullptr, MouseUse::kJob);
    if (!mouse)
        return status;
    const WindowNotice notice(*mouse, core::kChangedNames, static_cast<int>(*profile));
    device::zklib& lib = *mouse->lib;
    const device::_DEVICE_* d = &mouse->device;
    if (!device::write_profile_name(lib, d->path, static_cast<int>(*profile), text)) {
        ctx.err << "zentrikctl name: the mouse did not take the name\n";
        return kExitDevice;
    }
    return 0;
}

}  // namespace zentrik::cli
