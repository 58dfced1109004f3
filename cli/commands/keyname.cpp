// zentrikctl keyname: the names macros show for keys.
#include "cli/commands/keyname.h"

#include <cstdio>
#include <ostream>

#include "cli/commands/macro_args.h"
#include "cli/exit_codes.h"
#include "cli/hex_text.h"
#include "macro/key_names.h"
#include "macro/scan_code_table.h"
#include "platform/key_names.h"

namespace zentrik::cli {

const char kKeynameUsage[] =
    "Usage: zentrikctl keyname [--layout XKB] USAGE\n"
    "       zentrikctl keyname [--layout XKB] --scan CODE\n"
    "       zentrikctl keyname consumer USAGE\n"
    "Prints the name a macro step shows for a key.\n\n"
    "  USAGE          HID keyboard usage, 0-255 (decimal or 0x hex): 4 is the A key\n"
    "  --scan CODE    PC scan code (set 1; 0xE000 added for E0 keys, 0xE04B is Left):\n"
    "                 prints the name and the usage recording gives the key\n"
    "  consumer USAGE HID consumer usage, 0-0xFFFF: 0xE9 is \"Volume +\"\n"
    "  --layout XKB   name character keys as this XKB layout does (\"de\", \"fr\" ...);\n"
    "                 default: the current keyboard layout\n";

int run_keyname(CliContext& ctx) {
    std::optional<std::string> layout;
    std::optional<long long> usage;
    std::optional<long long> scan;
    std::optional<long long> consumer;
    const auto& args = ctx.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--layout") {
            layout = option_value(args, i);
            if (!layout || layout->empty()) {
                ctx.err << "zentrikctl keyname: --layout needs a layout name\n";
                return kExitUsage;
            }
        } else if (args[i] == "--scan" || args[i] == "consumer" || args[i] == "--consumer") {
            const bool is_scan = args[i] == "--scan";
            const auto text = option_value(args, i);
            const auto value = text ? parse_number(*text, 0, 0xFFFF) : std::nullopt;
            if (!value) {
                ctx.err << "zentrikctl keyname: " << (is_scan ? "--scan" : "consumer")
                        << " needs a number from 0 to 0xFFFF\n";
                return kExitUsage;
            }
            (is_scan ? scan : consumer) = value;
        } else if (!usage) {
            usage = parse_number(args[i], 0, 255);
            if (!usage) {
                ctx.err << "zentrikctl keyname: '" << args[i]
                        << "' is not a keyboard usage (0-255)\n";
                return kExitUsage;
            }
        } else {
            ctx.err << "zentrikctl keyname: unexpected '" << args[i] << "'\n";
            return kExitUsage;
        }
    }
    if (int(usage.has_value()) + int(scan.has_value()) + int(consumer.has_value()) != 1) {
        ctx.err << "zentrikctl keyname: give one USAGE, --scan CODE or consumer USAGE "
                   "(see zentrikctl keyname --help)\n";
        return kExitUsage;
    }
    if (consumer) {
        ctx.out << macro::consumer_key_name(static_cast<int>(*consumer)) << "\n";
        return 0;
    }
    bool builtin_names = false;
    const std::unique_ptr<platform::KeyNameService> service =
        layout ? platform::make_layout_key_name_service({"", "", *layout, "", ""}, &builtin_names)
               : platform::make_system_key_name_service();
    if (builtin_names) {
        ctx.err << "zentrikctl keyname: no keyboard layout '" << *layout
                << "' is known here (see 'localectl list-x11-keymap-layouts')\n";
        return kExitUsage;
    }
    const auto& table = macro::ScanCodeTable::builtin();
    const macro::KeyNamer namer(table, *service);
    if (usage) {
        ctx.out << namer.key_name(static_cast<int>(*usage)) << "\n";
        return 0;
    }
    const int found = table.usage_from_scan(static_cast<int>(*scan));
    if (found == 0) {
        const int argument = macro::key_name_argument(static_cast<int>(*scan));
        ctx.out << service->key_name((argument >> 16) & 0xFF, (argument >> 24) & 1) << " (scan "
                << hex4_0x(static_cast<int>(*scan)) << " has no usage)\n";
        return 0;
    }
    ctx.out << namer.key_name(found) << " (usage " << found << ")\n";
    return 0;
}

}  // namespace zentrik::cli
