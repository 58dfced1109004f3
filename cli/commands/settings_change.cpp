// zentrikctl profile, button, dpi, level, rate, snap, wheel: each change is written and stored
// in the mouse before the command returns.
#include <algorithm>
#include <ostream>
#include <variant>

#include "cli/commands/button_function_arg.h"
#include "cli/commands/device_session.h"
#include "cli/commands/mouse_settings.h"
#include "cli/commands/settings_commands.h"
#include "cli/commands/window_notice.h"
#include "cli/exit_codes.h"
#include "core/button_functions.h"
#include "device/commands.h"

namespace zentrik::cli {

const char* const kSettingsProfileUsage =
    "Usage: zentrikctl profile [--device=N] P\n"
    "Makes profile P (0-4, as 'names' counts them) the mouse's current profile.\n";

const char* const kSettingsButtonUsage =
    "Usage: zentrikctl button [--device=N] P B FUNCTION\n"
    "Gives button B (0-10) of profile P (0-4) a function. Buttons: 0 Left click, 1 Right click,\n"
    "2 Wheel click, 3 Forward, 4 Backward, 5 and 6 the extra buttons, 7 Tilt left, 8 Tilt\n"
    "right, 9 Scroll up, 10 Scroll down.\n"
    "FUNCTION is a name, in any case (quote names with spaces), or its code:\n"
    "  Default (the button's own function), Disable 0xFF00, Left click 0xFF1E,\n"
    "  Right click 0xFF22, Wheel click 0xFF26, Forward 0xFF2E, Backward 0xFF2A, Cut 0xFF3E,\n"
    "  Copy 0xFF32, Paste 0xFF38, Web browser 0xFF44, My computer 0xFF4A,\n"
    "  Email reader 0xFF50, Calculator 0xFF56, Media player 0xFF5C, Mute 0xFF68,\n"
    "  Volume + 0xFF6E, Volume - 0xFF74, Adjust lift 0xFF02 (only on the models that have it;\n"
    "  refused on the others), Lock X-axis 0xFF0A, Lock Y-axis 0xFF0C,\n"
    "  Speedup 2x 0xFF0E ... Speedup 9x 0xFF1C (every 2).\n"
    "Some button of the profile must keep the left click: a change that leaves none is\n"
    "refused.\n";

const char* const kSettingsDpiUsage =
    "Usage: zentrikctl dpi [--device=N] LEVEL X [Y]\n"
    "Sets DPI level LEVEL (0-3) to X DPI across and Y DPI up and down (Y defaults to X).\n"
    "The values must lie on the mouse's grid ('zentrikctl settings' shows its range and step).\n";

const char* const kSettingsLevelUsage =
    "Usage: zentrikctl level [--device=N] L\n"
    "Makes DPI level L (0-3) the current one.\n";

const char* const kSettingsRateUsage =
    "Usage: zentrikctl rate [--device=N] HZ\n"
    "Sets the report rate: 1000, 500, 333, 250, 200, 166, 142 or 125 reports a second\n"
    "(1000 divided by 1 to 8).\n";

const char* const kSettingsSnapUsage =
    "Usage: zentrikctl snap [--device=N] on|off\n"
    "Turns angle snapping on or off, on mice whose sensor snaps angles.\n";

const char* const kSettingsWheelUsage =
    "Usage: zentrikctl wheel [--device=N] N\n"
    "Sets the wheel rate (scroll acceleration) to N (1-9), on models that have one.\n";

namespace {

constexpr int kSnapOn = 6;

// The arguments after "--device=N", when there are `min`..`max` of them; nullopt after
// printing why.
std::optional<std::vector<std::string>> take_arguments(CliContext& ctx, const char* command,
                                                       const char* usage, std::size_t min,
                                                       std::size_t max, int& index) {
    auto args = ctx.args;
    const auto device = take_device_option(ctx, args);
    if (!device)
        return std::nullopt;
    if (args.size() < min || args.size() > max) {
        ctx.err << "zentrikctl " << command << ": expected " << min
                << (max > min ? " or " + std::to_string(max) : std::string()) << " argument"
                << (max > 1 ? "s" : "") << "\n"
                << usage;
        return std::nullopt;
    }
    index = *device;
    return args;
}

// A number from `low` to `high`; nullopt after printing why.
std::optional<int> number_in(CliContext& ctx, const char* command, const char* what,
                             const std::string& text, int low, int high) {
    const auto n = parse_number(text);
    if (!n || *n < low || *n > high) {
        ctx.err << "zentrikctl " << command << ": " << what << " must be a number from " << low
                << " to " << high << ", not '" << text << "'\n";
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

// Stores the working settings once every write went through; the exit status.
int store(CliContext& ctx, const char* command, AddressedMouse& mouse, bool written) {
    if (!written) {
        ctx.err << "zentrikctl " << command << ": the mouse did not take the change\n";
        return kExitDevice;
    }
    if (!device::commit_settings(*mouse.lib, mouse.device.path)) {
        ctx.err << "zentrikctl " << command << ": the mouse did not store the change\n";
        return kExitDevice;
    }
    return kExitOk;
}

// A one-value change: the value parsed from the only argument, the mouse opened, `write` run, a
// running window told (`changes`: core::OutsideChangeKind).
template <class Parse, class Write>
int change_one(CliContext& ctx, const char* command, const char* usage, unsigned changes,
               Parse parse, Write write) {
    int index = 0;
    const auto args = take_arguments(ctx, command, usage, 1, 1, index);
    if (!args)
        return kExitUsage;
    const auto value = parse((*args)[0]);
    if (!value)
        return kExitUsage;
    int status = 0;
    auto mouse = open_addressed_mouse(ctx, index, status, nullptr, MouseUse::kJob);
    if (!mouse)
        return status;
    const WindowNotice notice(*mouse, changes);
    return write(*mouse, *value);
}

// Rewrites the report-rate byte with `change` applied to its divisor and angle snapping.
template <class Change>
int rewrite_rate_byte(CliContext& ctx, const char* command, AddressedMouse& mouse, Change change) {
    const device::MouseTraits traits = device::mouse_traits(mouse.device);
    const auto byte = device::read_rate_byte(*mouse.lib, mouse.device.path);
    if (!byte) {
        ctx.err << "zentrikctl " << command << ": the mouse did not answer\n";
        return kExitDevice;
    }
    device::RateByte rate = read_rate(*byte, traits);
    change(rate);
    // Mice without angle snapping are never sent snapping bits.
    const std::uint8_t sent = device::join_rate_byte(rate, *traits.sensor_rule);
    return store(ctx, command, mouse,
                 device::write_rate_byte(*mouse.lib, mouse.device.path, sent) != 0);
}

}  // namespace

int run_settings_profile(CliContext& ctx) {
    return change_one(
        ctx, "profile", kSettingsProfileUsage, core::kChangedProfile,
        [&](const std::string& t) {
            return number_in(ctx, "profile", "P", t, 0, device::kProfileCount - 1);
        },
        [&](AddressedMouse& m, int profile) {
            return store(ctx, "profile", m,
                         device::write_profile(*m.lib, m.device.path, profile) != 0);
        });
}

int run_settings_level(CliContext& ctx) {
    return change_one(
        ctx, "level", kSettingsLevelUsage, core::kChangedLevel,
        [&](const std::string& t) { return number_in(ctx, "level", "L", t, 0, kDpiLevels - 1); },
        [&](AddressedMouse& m, int level) {
            return store(ctx, "level", m,
                         device::write_dpi_level(*m.lib, m.device.path, level) != 0);
        });
}

int run_settings_rate(CliContext& ctx) {
    return change_one(
        ctx, "rate", kSettingsRateUsage, core::kChangedRate,
        [&](const std::string& t) -> std::optional<int> {
            // Each rate is 1000 Hz over a divisor, rounded down as `settings` prints it.
            if (const auto hz = parse_number(t)) {
                for (int divisor = 1; divisor <= device::kMaxRateDivisor; ++divisor) {
                    if (*hz == 1000 / divisor)
                        return divisor;
                }
            }
            ctx.err
                << "zentrikctl rate: HZ must be 1000, 500, 333, 250, 200, 166, 142 or 125, not '"
                << t << "'\n";
            return std::nullopt;
        },
        [&](AddressedMouse& m, int divisor) {
            return rewrite_rate_byte(ctx, "rate", m,
                                     [&](device::RateByte& r) { r.divisor = divisor; });
        });
}

int run_settings_snap(CliContext& ctx) {
    return change_one(
        ctx, "snap", kSettingsSnapUsage, core::kChangedRate,
        [&](const std::string& t) -> std::optional<int> {
            if (t == "on")
                return kSnapOn;
            if (t == "off")
                return 0;
            ctx.err << "zentrikctl snap: say 'on' or 'off', not '" << t << "'\n";
            return std::nullopt;
        },
        [&](AddressedMouse& m, int snap) {
            if (!device::mouse_traits(m.device).snaps_angles()) {
                ctx.err << "zentrikctl snap: this mouse has no angle snapping\n";
                return kExitUsage;
            }
            return rewrite_rate_byte(ctx, "snap", m, [&](device::RateByte& r) { r.snap = snap; });
        });
}

int run_settings_wheel(CliContext& ctx) {
    return change_one(
        ctx, "wheel", kSettingsWheelUsage, core::kChangedWheel,
        [&](const std::string& t) { return number_in(ctx, "wheel", "N", t, 1, 9); },
        [&](AddressedMouse& m, int rate) {
            if (!device::mouse_traits(m.device).has_wheel_rate()) {
                ctx.err << "zentrikctl wheel: this mouse has no wheel rate\n";
                return kExitUsage;
            }
            return store(ctx, "wheel", m,
                         device::write_wheel_rate(*m.lib, m.device.path,
                                                  static_cast<std::uint8_t>(rate)) != 0);
        });
}

int run_settings_dpi(CliContext& ctx) {
    int index = 0;
    const auto args = take_arguments(ctx, "dpi", kSettingsDpiUsage, 2, 3, index);
    if (!args)
        return kExitUsage;
    const auto level = number_in(ctx, "dpi", "LEVEL", (*args)[0], 0, kDpiLevels - 1);
    const auto x = parse_number((*args)[1]);
    const auto y = parse_number(args->size() == 3 ? (*args)[2] : (*args)[1]);
    if (!level)
        return kExitUsage;
    if (!x || !y) {
        ctx.err << "zentrikctl dpi: X and Y are numbers of DPI\n" << kSettingsDpiUsage;
        return kExitUsage;
    }
    int status = 0;
    auto mouse = open_addressed_mouse(ctx, index, status, nullptr, MouseUse::kJob);
    if (!mouse)
        return status;
    const WindowNotice notice(*mouse, core::kChangedDpi, *level);
    const device::DpiGrid grid = device::mouse_traits(mouse->device).grid;
    for (const long dpi : {*x, *y}) {
        if (dpi < grid.min_dpi() || dpi > grid.max_dpi() || dpi % grid.step != 0) {
            ctx.err << "zentrikctl dpi: this mouse takes " << grid.min_dpi() << " to "
                    << grid.max_dpi() << " DPI in steps of " << grid.step << ", not " << dpi
                    << "\n";
            return kExitUsage;
        }
    }
    device::zklib& lib = *mouse->lib;
    const std::string& path = mouse->device.path;
    const bool written =
        device::write_dpi_value(lib, path, 0, *level, static_cast<int>(*x / grid.step)) != 0 &&
        device::write_dpi_value(lib, path, 1, *level, static_cast<int>(*y / grid.step)) != 0;
    return store(ctx, "dpi", *mouse, written);
}

int run_settings_button(CliContext& ctx) {
    int index = 0;
    const auto args = take_arguments(ctx, "button", kSettingsButtonUsage, 3, 3, index);
    if (!args)
        return kExitUsage;
    const auto profile = number_in(ctx, "button", "P", (*args)[0], 0, device::kProfileCount - 1);
    const auto button = number_in(ctx, "button", "B", (*args)[1], 0, device::kButtonCount - 1);
    if (!profile || !button)
        return kExitUsage;
    const auto function = parse_button_function(ctx, (*args)[2]);
    if (!function)
        return kExitUsage;
    int status = 0;
    auto mouse = open_addressed_mouse(ctx, index, status, nullptr, MouseUse::kJob);
    if (!mouse)
        return status;
    const WindowNotice notice(*mouse, core::kChangedButtons, *profile);
    device::zklib& lib = *mouse->lib;
    const std::string& path = mouse->device.path;

    int code = 0;
    if (const auto* macro = std::get_if<MacroChoice>(&*function)) {
        const auto macro_code = resolve_macro_slot(ctx, lib, path, macro->slot);
        if (!macro_code)
            return kExitUsage;
        code = *macro_code;
    } else {
        code = std::get<FunctionChoice>(*function).code;
        if (code == core::function_code(core::kAdjustLiftIndex) &&
            !device::mouse_traits(mouse->device).model->offers_adjust_lift) {
            ctx.err << "zentrikctl button: this mouse has no Adjust lift\n";
            return kExitUsage;
        }
    }

    device::ButtonTable table;
    if (!read_profile_buttons(lib, path, *profile, table)) {
        ctx.err << "zentrikctl button: the mouse did not answer\n";
        return kExitDevice;
    }
    const device::ButtonAssignment cell = core::assignment_for(*button, code);
    if (!core::keeps_a_left_click(table, *profile, *button, cell)) {
        ctx.err << "zentrikctl button: refused: no button of profile " << *profile
                << " would act as left click; give another button the left click first\n";
        return kExitUsage;
    }
    // A button doing its own function is sent with code 0xFFFF.
    return store(ctx, "button", *mouse,
                 device::write_button(lib, path, *profile, core::button_info(*button).device_index,
                                      cell.remapped, cell.code) != 0);
}

}  // namespace zentrik::cli
