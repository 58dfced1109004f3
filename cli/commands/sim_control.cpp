// zentrikctl --simulate unplug [N], plug [N], event [N] KIND VALUES...
#include "cli/commands/sim_control.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <ostream>

#include "cli/commands/device_session.h"
#include "cli/exit_codes.h"
#include "sim/sim_setup.h"

namespace zentrik::cli {

const char* const kSimUnplugUsage =
    "Usage: zentrikctl --simulate[=SPEC] unplug [N]\n"
    "Pulls simulated mouse N (default 0) out: every program on the same simulated mice sees\n"
    "it go. Give the SPEC the program was started with (at least its memory and state).\n";

const char* const kSimPlugUsage =
    "Usage: zentrikctl --simulate[=SPEC] plug [N]\n"
    "Plugs simulated mouse N (default 0) back in. Like a real mouse it starts afresh: it has\n"
    "no link tag, and its working settings are the stored ones.\n";

const char* const kSimEventUsage =
    "Usage: zentrikctl --simulate[=SPEC] event [N] KIND VALUES...\n"
    "Makes simulated mouse N (default 0) change a setting on itself and send its input\n"
    "report, with the link tag it holds:\n"
    "  profile P               profile P (0-4) chosen on the mouse (event 1)\n"
    "  dpi LEVEL X Y           DPI level 0-3 with X and Y in DPI steps 0-255 (event 2)\n"
    "  wheel LEVEL X Y RATE    as dpi, and the wheel rate 0-255 (event 11)\n"
    "  tilt AMOUNT             wheel tilted by AMOUNT, -128 to 127 (event 3)\n";

namespace {

// Plain decimal with an optional minus sign, within [min, max].
std::optional<int> parse_in_range(const std::string& text, int min, int max) {
    int value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || end != last || value < min || value > max)
        return std::nullopt;
    return value;
}

bool is_index(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The simulated mouse N of the global --simulate SPEC; nullptr after printing why.
std::shared_ptr<sim::SimMouse> simulated_mouse(CliContext& ctx, const char* command,
                                               const char* usage, int index, int& status) {
    if (!ctx.globals.simulate) {
        ctx.err << "zentrikctl " << command
                << ": acts on simulated mice only; give --simulate[=SPEC] before the command\n"
                << usage;
        status = kExitUsage;
        return nullptr;
    }
    std::string error;
    const auto setup = sim::parse_sim_setup(*ctx.globals.simulate, error);
    if (!setup) {
        ctx.err << "zentrikctl: --simulate: " << error << "\n";
        status = kExitUsage;
        return nullptr;
    }
    auto backend = sim::make_sim_backend(*setup);
    auto mouse = backend->mouse(static_cast<std::size_t>(index));
    if (!mouse) {
        ctx.err << "zentrikctl " << command << ": there is no simulated mouse " << index << " ("
                << setup->mice << (setup->mice == 1 ? " mouse" : " mice")
                << " simulated; more with --simulate=mice=N)\n";
        status = kExitNoMouse;
    }
    return mouse;
}

int plug_or_unplug(CliContext& ctx, bool plug) {
    const char* command = plug ? "plug" : "unplug";
    const char* usage = plug ? kSimPlugUsage : kSimUnplugUsage;
    int index = 0;
    if (ctx.args.size() > 1 || (ctx.args.size() == 1 && !is_index(ctx.args[0]))) {
        ctx.err << "zentrikctl " << command << ": unexpected argument '" << ctx.args.back() << "'\n"
                << usage;
        return kExitUsage;
    }
    if (ctx.args.size() == 1) {
        const auto n = parse_in_range(ctx.args[0], 0, 255);
        if (!n) {
            ctx.err << "zentrikctl " << command << ": bad mouse number '" << ctx.args[0] << "'\n";
            return kExitUsage;
        }
        index = *n;
    }
    int status = kExitOk;
    auto mouse = simulated_mouse(ctx, command, usage, index, status);
    if (!mouse)
        return status;
    if (!(plug ? mouse->plug() : mouse->unplug())) {
        ctx.err << "zentrikctl " << command
                << ": the simulated mouse's state could not be saved, so other programs do not "
                   "see the change\n";
        return kExitBadFile;
    }
    ctx.out << sim::SimBackend::path_of(static_cast<std::size_t>(index))
            << (plug ? ": plugged in\n" : ": unplugged\n");
    return kExitOk;
}

struct EventKind {
    const char* name;
    std::vector<std::pair<int, int>> ranges;                             // of each value
    std::function<bool(sim::SimMouse&, const std::vector<int>&)> raise;  // false: not saved
};

const std::vector<EventKind>& event_kinds() {
    static const std::vector<EventKind> kinds = {
        {"profile",
         {{0, 4}},
         [](sim::SimMouse& m, const auto& v) { return m.press_profile_button(v[0]); }},
        {"dpi",
         {{0, 3}, {0, 255}, {0, 255}},
         [](sim::SimMouse& m, const auto& v) { return m.change_dpi(v[0], v[1], v[2]); }},
        {"wheel",
         {{0, 3}, {0, 255}, {0, 255}, {0, 255}},
         [](sim::SimMouse& m, const auto& v) { return m.change_wheel(v[0], v[1], v[2], v[3]); }},
        {"tilt", {{-128, 127}}, [](sim::SimMouse& m, const auto& v) { return m.tilt(v[0]); }},
    };
    return kinds;
}

}  // namespace

int run_sim_unplug(CliContext& ctx) {
    return plug_or_unplug(ctx, false);
}

int run_sim_plug(CliContext& ctx) {
    return plug_or_unplug(ctx, true);
}

int run_sim_event(CliContext& ctx) {
    auto args = ctx.args;
    int index = 0;
    if (!args.empty() && is_index(args[0])) {
        const auto n = parse_in_range(args[0], 0, 255);
        if (!n) {
            ctx.err << "zentrikctl event: bad mouse number '" << args[0] << "'\n";
            return kExitUsage;
        }
        index = *n;
        args.erase(args.begin());
    }
    if (args.empty()) {
        ctx.err << "zentrikctl event: which event?\n" << kSimEventUsage;
        return kExitUsage;
    }
    const auto& kinds = event_kinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const EventKind& k) { return args[0] == k.name; });
    if (kind == kinds.end()) {
        ctx.err << "zentrikctl event: unknown event '" << args[0] << "'\n" << kSimEventUsage;
        return kExitUsage;
    }
    if (args.size() != kind->ranges.size() + 1) {
        ctx.err << "zentrikctl event " << kind->name << ": wants " << kind->ranges.size()
                << (kind->ranges.size() == 1 ? " value" : " values") << "\n"
                << kSimEventUsage;
        return kExitUsage;
    }
    std::vector<int> values;
    for (std::size_t i = 0; i < kind->ranges.size(); ++i) {
        const auto [min, max] = kind->ranges[i];
        const auto v = parse_in_range(args[i + 1], min, max);
        if (!v) {
            ctx.err << "zentrikctl event " << kind->name << ": '" << args[i + 1]
                    << "' is not a number from " << min << " to " << max << "\n";
            return kExitUsage;
        }
        values.push_back(*v);
    }
    int status = kExitOk;
    auto mouse = simulated_mouse(ctx, "event", kSimEventUsage, index, status);
    if (!mouse)
        return status;
    if (!mouse->present()) {
        ctx.err << "zentrikctl event: " << sim::SimBackend::path_of(static_cast<std::size_t>(index))
                << " is unplugged (zentrikctl --simulate plug " << index << ")\n";
        return kExitNoMouse;
    }
    if (!kind->raise(*mouse, values)) {
        ctx.err << "zentrikctl event: the simulated mouse's state could not be saved, so other "
                   "programs do not get the report\n";
        return kExitBadFile;
    }
    return kExitOk;
}

}  // namespace zentrik::cli
