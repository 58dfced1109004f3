// zentrikctl list, zentrikctl identify.
#include <cstdio>
#include <ostream>

#include "cli/commands/device_commands.h"
#include "cli/commands/device_session.h"
#include "cli/exit_codes.h"
#include "cli/hex_text.h"
#include "cli/json_output.h"
#include "device/commands.h"

namespace zentrik::cli {

const char* const kDeviceListUsage =
    "Usage: zentrikctl list [--json]\n"
    "Lists the mice found, one line each: number, path, model code, sensor code, firmware,\n"
    "DPI step, identity number (hex) and memory size in bytes. Listing identifies each mouse,\n"
    "which gives a mouse without an identity number a new one. A mouse that does not answer\n"
    "is still listed, with \"identity=? memory=?\" and a message; the exit status is then 4.\n";

const char* const kDeviceIdentifyUsage =
    "Usage: zentrikctl identify [--device=N] [--json]\n"
    "Reads the identity number of mouse N (default 0, see 'zentrikctl list'), giving it a new\n"
    "one when it holds none, and finds the size of its memory.\n";

int run_device_list(CliContext& ctx) {
    if (!ctx.args.empty()) {
        ctx.err << "zentrikctl list: unexpected argument '" << ctx.args[0]
                << "' (see zentrikctl list --help)\n";
        return kExitUsage;
    }
    int status = 0;
    auto lib = open_device_link(ctx, status);
    if (!lib)
        return status;
    if (!pick_device(ctx, *lib, 0))
        return kExitNoMouse;
    int status_all = kExitOk;
    Json mice = Json::array();
    for (int i = 0; i < lib->device_count(); ++i) {
        const std::string path = lib->path_of(i);
        const auto identity = device::identify(*lib, path);
        const device::_DEVICE_ d = lib->device_at(i);
        if (ctx.globals.json) {
            // A mouse that did not answer has null identity and memory.
            mice.push_back({{"index", i},
                            {"path", d.path},
                            {"model", d.model},
                            {"sensor", d.sensor},
                            {"firmware", d.firmware},
                            {"dpi_step", d.dpi_step},
                            {"identity", identity ? Json(hex4(identity->number)) : Json()},
                            {"memory", identity ? Json(identity->memory_size) : Json()}});
            if (!identity)
                status_all = kExitDevice;
            continue;
        }
        ctx.out << i << "  " << d.path << "  model=" << d.model << " sensor=" << d.sensor
                << " firmware=" << d.firmware << " dpi_step=" << d.dpi_step;
        if (identity) {
            ctx.out << " identity=" << hex4(identity->number) << " memory=" << identity->memory_size
                    << "\n";
        } else {
            ctx.out << " identity=? memory=?\n";
            ctx.err << "zentrikctl list: mouse " << i << " (" << path
                    << ") did not answer while being identified\n";
            status_all = kExitDevice;
        }
    }
    if (ctx.globals.json)
        print_json(ctx.out, {{"mice", mice}});
    return status_all;
}

int run_device_identify(CliContext& ctx) {
    int status = 0;
    auto mouse = open_mouse_without_arguments(
        ctx, "identify", status,
        "identify: {path} did not answer while being identified; nothing was recorded",
        MouseUse::kJob);
    if (!mouse)
        return status;
    const device::_DEVICE_& d = mouse->device;
    if (ctx.globals.json) {
        print_json(
            ctx.out,
            {{"path", d.path}, {"identity", hex4(mouse->identity)}, {"memory", d.memory_size}});
        return kExitOk;
    }
    ctx.out << d.path << "  identity=" << hex4(mouse->identity) << " memory=" << d.memory_size
            << "\n";
    return kExitOk;
}

}  // namespace zentrik::cli
