// zentrikctl profile-file export PROFILE FILE, zentrikctl profile-file import FILE PROFILE.
#include "cli/commands/profile_file.h"

#include <ostream>

#include "cli/commands/device_session.h"
#include "cli/exit_codes.h"
#include "core/profile_document.h"
#include "core/profile_transfer.h"
#include "device/protocol.h"

namespace zentrik::cli {

const char* const kProfileFileUsage =
    "Usage: zentrikctl profile-file [--device=N] export PROFILE FILE\n"
    "       zentrikctl profile-file [--device=N] import FILE PROFILE\n"
    "  export  writes profile PROFILE (0-4) into FILE: its name, the eleven buttons' functions\n"
    "          and the name and code of every macro its buttons run (JSON, see\n"
    "          docs/profile-files.md). FILE is replaced only once it is complete.\n"
    "  import  writes the profile in FILE into profile PROFILE (0-4) of this mouse or another:\n"
    "          its macros go into empty slots (a slot that already holds the same code is\n"
    "          used again), then its buttons and its name. A file that is not a sound profile,\n"
    "          a function the mouse does not have or macros that do not fit are refused before\n"
    "          anything is written.\n";

namespace {

constexpr char kCommand[] = "zentrikctl profile-file: ";

int transfer_status(CliContext& ctx, const core::ProfileTransferResult& r) {
    if (r.ok)
        return kExitOk;
    ctx.err << kCommand << r.error << (r.written ? "" : "; nothing was written") << "\n";
    return r.device_failed ? kExitDevice : kExitFailure;
}

std::optional<int> profile_number(CliContext& ctx, const std::string& text) {
    const auto n = parse_number(text);
    if (!n || *n < 0 || *n >= device::kProfileCount) {
        ctx.err << kCommand << "PROFILE must be a number from 0 to 4, not '" << text << "'\n";
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<AddressedMouse> open_mouse(CliContext& ctx, int index, int& status) {
    return open_addressed_mouse(ctx, index, status,
                                "profile-file: the mouse did not answer (identifying it)",
                                MouseUse::kJob);
}

int export_file(CliContext& ctx, int index, const std::string& profile_text,
                const std::string& file) {
    const auto profile = profile_number(ctx, profile_text);
    if (!profile)
        return kExitUsage;
    int status = 0;
    auto mouse = open_mouse(ctx, index, status);
    if (!mouse)
        return status;
    core::ProfileDocument document;
    const auto r = core::export_profile(*mouse->lib, mouse->device.path, *profile, document);
    if (!r.ok) {
        ctx.err << kCommand << r.error << "\n";
        return r.device_failed ? kExitDevice : kExitFailure;
    }
    if (const auto error = core::write_profile_file(file, document)) {
        ctx.err << kCommand << *error << "\n";
        return kExitBadFile;
    }
    return kExitOk;
}

int import_file(CliContext& ctx, int index, const std::string& file,
                const std::string& profile_text) {
    const auto profile = profile_number(ctx, profile_text);
    if (!profile)
        return kExitUsage;
    // The whole file is read and checked before the mouse is opened.
    const core::ProfileRead read = core::read_profile_file(file);
    if (!read.document) {
        ctx.err << kCommand << read.error << "; nothing was written\n";
        return kExitBadFile;
    }
    int status = 0;
    auto mouse = open_mouse(ctx, index, status);
    if (!mouse)
        return status;
    return transfer_status(
        ctx, core::import_profile(*mouse->lib, mouse->device, *profile, *read.document));
}

}  // namespace

int run_profile_file(CliContext& ctx) {
    auto args = ctx.args;
    const auto index = take_device_option(ctx, args);
    if (!index)
        return kExitUsage;
    if (args.size() == 3 && args[0] == "export")
        return export_file(ctx, *index, args[1], args[2]);
    if (args.size() == 3 && args[0] == "import")
        return import_file(ctx, *index, args[1], args[2]);
    ctx.err << kCommand << "expected 'export PROFILE FILE' or 'import FILE PROFILE'\n"
            << kProfileFileUsage;
    return kExitUsage;
}

}  // namespace zentrik::cli
