#include "cli/commands/device_session.h"

#include <ostream>

#include "cli/exit_codes.h"
#include "device/backend_selection.h"
#include "device/commands.h"
#include "sim/sim_setup.h"

namespace zentrik::cli {
namespace {

std::shared_ptr<device::Timing>& timing_override() {
    static std::shared_ptr<device::Timing> timing;
    return timing;
}

std::function<std::shared_ptr<platform::HidBackend>()>& system_backend_override() {
    static std::function<std::shared_ptr<platform::HidBackend>()> make;
    return make;
}

std::shared_ptr<platform::HidBackend> system_backend() {
    if (system_backend_override())
        return system_backend_override()();
    return platform::make_system_hid_backend();
}

// A mouse is attached but this user may not open it: say which node and where the fix is.
// Without the udev probe's verdict the node only may be one: a hint, not an error.
void report_unopened(CliContext& ctx, const std::vector<device::UnopenedInterface>& unopened) {
    for (const auto& u : unopened) {
        ctx.err << "zentrikctl: " << u.path
                << (u.confirmed ? " is a mouse of the family but cannot be opened"
                                : " may be a mouse of the family but cannot be opened");
        if (!u.reason.empty())
            ctx.err << " (" << u.reason << ")";
        ctx.err << (u.confirmed ? "; install the udev rule that "
                                  "gives you access to it (see README: device access)\n"
                                : "; if it is one, install the udev rule that gives you access "
                                  "to it (see README: device access)\n");
    }
}

}  // namespace

void use_device_timing(std::shared_ptr<device::Timing> timing) {
    timing_override() = std::move(timing);
}

void use_system_backend(std::function<std::shared_ptr<platform::HidBackend>()> make) {
    system_backend_override() = std::move(make);
}

std::unique_ptr<device::zklib> open_device_link(CliContext& ctx, int& exit_code) {
    auto timing = timing_override() ? timing_override() : device::make_system_timing();
    std::shared_ptr<platform::HidBackend> backend;
    if (ctx.globals.simulate) {
        std::string error;
        const auto setup = sim::parse_sim_setup(*ctx.globals.simulate, error);
        if (!setup) {
            ctx.err << "zentrikctl: --simulate: " << error << "\n";
            exit_code = kExitUsage;
            return nullptr;
        }
        backend = sim::make_sim_backend(*setup);
    } else {
        auto choice = device::select_backend(
            system_backend(),
            [] {
                std::string unused;
                return sim::make_sim_backend(*sim::parse_sim_setup("", unused));
            },
            timing);
        report_unopened(ctx, choice.unopened);
        if (device::any_confirmed(choice.unopened)) {
            exit_code = kExitDevice;
            return nullptr;
        }
        if (choice.simulated) {
            ctx.err << "zentrikctl: no mouse attached; using the simulated mouse\n";
        }
        backend = std::move(choice.backend);
    }
    auto lib = std::make_unique<device::zklib>(std::move(backend), std::move(timing));
    if (ctx.globals.trace) {
        std::ostream& err = ctx.err;
        lib->set_trace([&err](const device::ExchangeTrace& t) {
            err << device::format_exchange(t) << "  " << t.path << "\n";
        });
    }
    lib->discover();
    return lib;
}

std::optional<int> take_device_option(CliContext& ctx, std::vector<std::string>& args) {
    int index = 0;
    for (auto it = args.begin(); it != args.end();) {
        if (it->rfind("--device=", 0) == 0) {
            const auto n = parse_number(it->substr(9));
            if (!n || *n < 0 || *n > 255) {
                ctx.err << "zentrikctl: --device wants a mouse number from 'zentrikctl list' "
                           "(0, 1, ...), not '"
                        << it->substr(9) << "'\n";
                return std::nullopt;
            }
            index = static_cast<int>(*n);
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    return index;
}

std::optional<device::_DEVICE_> pick_device(CliContext& ctx, device::zklib& lib, int index) {
    const int count = lib.device_count();
    if (count == 0) {
        ctx.err << "zentrikctl: no mouse found\n";
        return std::nullopt;
    }
    if (index >= count) {
        ctx.err << "zentrikctl: there is no mouse " << index << " (" << count
                << (count == 1 ? " mouse" : " mice") << " found)\n";
        return std::nullopt;
    }
    return lib.device_at(index);
}

bool hold_mouse(CliContext& ctx, AddressedMouse& mouse, int& exit_code) {
    std::ostream& err = ctx.err;
    mouse.lock = device::lock_mouse(*mouse.lib, mouse.device.path, [&err] {
        err << "zentrikctl: " << device::kMouseBusyNote << " waiting\n" << std::flush;
    });
    switch (mouse.lock.outcome()) {
        case device::MouseLock::Outcome::kHeld:
            return true;
        case device::MouseLock::Outcome::kTimedOut:
            ctx.err << "zentrikctl: " << device::kMouseBusyFailure << "\n";
            exit_code = kExitBusy;
            return false;
        case device::MouseLock::Outcome::kFailed:
            break;
    }
    ctx.err << "zentrikctl: cannot lock the mouse for this command (" << mouse.lock.error()
            << ")\n";
    exit_code = kExitFailure;
    return false;
}

std::optional<AddressedMouse> open_addressed_mouse(CliContext& ctx, int index, int& exit_code,
                                                   IdentifyFailure identify_failure, MouseUse use) {
    auto lib = open_device_link(ctx, exit_code);
    if (!lib)
        return std::nullopt;
    auto device = pick_device(ctx, *lib, index);
    if (!device) {
        exit_code = kExitNoMouse;
        return std::nullopt;
    }
    AddressedMouse mouse{std::move(lib), *device, 0, {}};
    if (use == MouseUse::kJob && !hold_mouse(ctx, mouse, exit_code))
        return std::nullopt;
    if (!identify_failure)
        return mouse;
    const auto identity = device::identify(*mouse.lib, mouse.device.path);
    if (!identity) {
        std::string message = identify_failure;
        if (const auto at = message.find("{path}"); at != std::string::npos)
            message.replace(at, 6, mouse.device.path);
        ctx.err << "zentrikctl " << message << "\n";
        exit_code = kExitDevice;
        return std::nullopt;
    }
    mouse.identity = identity->number;
    mouse.device.memory_size = identity->memory_size;
    return mouse;
}

std::optional<AddressedMouse> open_mouse_without_arguments(CliContext& ctx, const char* command,
                                                           int& exit_code,
                                                           IdentifyFailure identify_failure,
                                                           MouseUse use) {
    auto args = ctx.args;
    const auto index = take_device_option(ctx, args);
    exit_code = kExitUsage;
    if (!index)
        return std::nullopt;
    if (!args.empty()) {
        ctx.err << "zentrikctl " << command << ": unexpected argument '" << args[0]
                << "' (see zentrikctl " << command << " --help)\n";
        return std::nullopt;
    }
    return open_addressed_mouse(ctx, *index, exit_code, identify_failure, use);
}

std::optional<long> parse_number(const std::string& text, bool hex_default) {
    std::string digits = text;
    int base = hex_default ? 16 : 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
        base = 16;
    }
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    long value = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
    }
    return value;
}

}  // namespace zentrik::cli
