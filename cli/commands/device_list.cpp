// zentrikctl list, zentrikctl identify.
#include <cstdio>
#include <ostream>

#include "cli/commands/device_commands.h"
#include "cli/commands/device_session.h"
#include "cli/json_output.h"
#include "device/commands.h"

namespace zentrik::cli {

const char* const kDeviceListUsage =
    "Usage: zentrikctl list [--json]\n"
    "Lists the mice found, one line each: number, path, model code, sensor code, firmware,\n"
    "DPI step, identity number (hex) and memory size in bytes. Listing identifies each mouse,\n"
    "which gives a mouse without an identity number a new one.\n";

const char* const kDeviceIdentifyUsage =
    "Usage: zentrikctl identify [--device=N] [--json]\n"
    "Reads the identity number of mouse N (default 0, see 'zentrikctl list'), giving it a new\n"
    "one when it holds none, and finds the size of its memory.\n";

namespace {

std::string identity_hex(std::uint16_t identity) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", identity);
    return text;
}

}  // namespace

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
    if (lib->device_count() == 0) {
        ctx.err << "zentrikctl: no mouse found\n";
        return kExitNoMouse;
    }
    Json mice = Json::array();
    for (int i = 0; i < lib->device_count(); ++i) {
        const std::string path = lib->path_of(i);
        const std::uint16_t identity = device::identify(*lib, path);
        const device::_DEVICE_ d = lib->device_at(i);
        if (ctx.globals.json) {
            mice.push_back({{"index", i},
                            {"path", d.path},
                            {"model", d.model},
                            {"sensor", d.sensor},
                            {"firmware", d.firmware},
                            {"dpi_step", d.dpi_step},
                            {"identity", json_hex4(identity)},
                            {"memory", d.memory_size}});
            continue;
        }
        ctx.out << i << "  " << d.path << "  model=" << d.model << " sensor=" << d.sensor
                << " firmware=" << d.firmware << " dpi_step=" << d.dpi_step
                << " identity=" << identity_hex(identity) << " memory=" << d.memory_size << "\n";
    }
    if (ctx.globals.json)
        print_json(ctx.out, {{"mice", mice}});
    return kExitOk;
}

int run_device_identify(CliContext& ctx) {
    int status = 0;
    auto mouse = open_mouse_without_arguments(ctx, "identify", kDeviceIdentifyUsage, status);
    if (!mouse)
        return status;
    device::zklib& lib = *mouse->lib;
    const device::_DEVICE_* d = &mouse->device;
    int memory_size = 0;
    const std::uint16_t identity = device::identify(lib, d->path, &memory_size);
    if (ctx.globals.json) {
        print_json(ctx.out,
                   {{"path", d->path}, {"identity", json_hex4(identity)}, {"memory", memory_size}});
        return kExitOk;
    }
    ctx.out << d->path << "  identity=" << identity_hex(identity) << " memory=" << memory_size
            << "\n";
    return kExitOk;
}

}  // namespace zentrik::cli
