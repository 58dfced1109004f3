// zentrikctl read ADDR [LEN]: a hex dump of the mouse's memory.
#include <cstdio>
#include <ostream>

#include "cli/commands/device_commands.h"
#include "cli/commands/device_session.h"
#include "cli/exit_codes.h"
#include "device/commands.h"

namespace zentrik::cli {

const char* const kDeviceReadUsage =
    "Usage: zentrikctl read [--device=N] ADDR [LEN]\n"
    "Prints LEN bytes (default 16, at most the memory size) of the mouse's memory from ADDR\n"
    "(hexadecimal, 0 to ffff) as a hex dump. Addresses wrap around at the end of the memory,\n"
    "so ffb5 reads the profile names whatever the memory size. Like 'list', it identifies the\n"
    "mouse first to learn its memory size.\n";

namespace {

constexpr long kDefaultLength = 16;
constexpr std::size_t kBytesPerLine = 16;
constexpr std::size_t kBytesPerRead = 7;

void print_dump(std::ostream& out, std::uint16_t address, const std::vector<std::uint8_t>& bytes) {
    char text[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % kBytesPerLine == 0) {
            if (i)
                out << "\n";
            std::snprintf(text, sizeof text, "%04x:", static_cast<std::uint16_t>(address + i));
            out << text;
        }
        std::snprintf(text, sizeof text, " %02x", bytes[i]);
        out << text;
    }
    out << "\n";
}

}  // namespace

int run_device_read(CliContext& ctx) {
    auto args = ctx.args;
    const auto index = take_device_option(ctx, args);
    if (!index)
        return kExitUsage;
    if (args.empty() || args.size() > 2) {
        ctx.err << "zentrikctl read: " << (args.empty() ? "missing ADDR" : "too many arguments")
                << " (see zentrikctl read --help)\n";
        return kExitUsage;
    }
    const auto address = parse_number(args[0], true);
    if (!address || *address > 0xFFFF) {
        ctx.err << "zentrikctl read: ADDR must be a hexadecimal address from 0 to ffff, not '"
                << args[0] << "'\n";
        return kExitUsage;
    }
    const auto length = args.size() == 2 ? parse_number(args[1]) : kDefaultLength;
    if (!length || *length < 1) {
        ctx.err << "zentrikctl read: LEN must be a positive number of bytes, not '" << args[1]
                << "'\n";
        return kExitUsage;
    }
    int status = 0;
    auto mouse = open_addressed_mouse(
        ctx, *index, status,
        "read: {path} did not answer while being identified (its memory size is not known)");
    if (!mouse)
        return status;
    device::zklib& lib = *mouse->lib;
    const device::_DEVICE_* d = &mouse->device;
    const int memory_size = d->memory_size;
    if (*length > memory_size) {
        ctx.err << "zentrikctl read: LEN " << *length << " is larger than the memory of the mouse ("
                << memory_size << " bytes)\n";
        return kExitUsage;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(*length));
    auto at = static_cast<std::uint16_t>(*address);
    while (bytes.size() < static_cast<std::size_t>(*length)) {
        device::Report reply{};
        if (!device::read_memory(lib, d->path, at, reply)) {
            char text[8];
            std::snprintf(text, sizeof text, "%04x", at);
            ctx.err << "zentrikctl read: the mouse did not answer the read at " << text << "\n";
            return kExitDevice;
        }
        for (std::size_t i = 0; i < kBytesPerRead && bytes.size() < bytes.capacity(); ++i) {
            bytes.push_back(reply[2 + i]);
        }
        at = static_cast<std::uint16_t>(at + kBytesPerRead);
    }
    print_dump(ctx.out, static_cast<std::uint16_t>(*address), bytes);
    return 0;
}

}  // namespace zentrik::cli
