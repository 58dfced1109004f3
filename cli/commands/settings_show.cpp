// zentrikctl settings [--json]: everything the settings commands change, read from the mouse.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands/button_function_arg.h"
#include "cli/commands/device_session.h"
#include "cli/commands/mouse_settings.h"
#include "cli/commands/settings_commands.h"
#include "cli/exit_codes.h"
#include "cli/hex_text.h"
#include "lang/string_tables.h"

namespace zentrik::cli {

const char* const kSettingsShowUsage =
    "Usage: zentrikctl settings [--device=N] [--json]\n"
    "Prints the mouse's settings: the current profile (0-4), each profile's name and what its\n"
    "eleven buttons (0-10) do, the four DPI levels (0-3) with X and Y in DPI and the current\n"
    "level, the report rate in Hz, angle snapping and the wheel rate (the last two only where\n"
    "the mouse has them). --json prints one JSON object instead (see docs/zentrikctl.md).\n";

namespace {

struct ButtonRow {
    std::string button;    // the button's own name
    std::string function;  // what it does
    device::ButtonAssignment cell;
};

std::vector<ButtonRow> button_rows(const MouseSettings& s, int profile, device::zklib& lib,
                                   const std::string& path) {
    const lang::StringTables english = lang::default_string_tables();
    std::vector<ButtonRow> rows;
    for (int b = 0; b < device::kButtonCount; ++b) {
        const device::ButtonAssignment cell = s.buttons.get(profile, b);
        rows.push_back({english.button_name(b), button_function_name(b, cell, lib, path), cell});
    }
    return rows;
}

nlohmann::json settings_json(const MouseSettings& s, int index, const std::string& path,
                             device::zklib& lib) {
    using nlohmann::json;
    json profiles = json::array();
    for (int p = 0; p < device::kProfileCount; ++p) {
        json buttons = json::array();
        int b = 0;
        for (const ButtonRow& row : button_rows(s, p, lib, path))
            buttons.push_back(
                {{"index", b++},
                 {"button", row.button},
                 {"function", row.function},
                 {"remapped", row.cell.remapped},
                 {"code", row.cell.remapped ? json(hex4_0x(row.cell.code)) : json(nullptr)}});
        profiles.push_back({{"index", p},
                            {"name", s.names[static_cast<std::size_t>(p)]},
                            {"buttons", std::move(buttons)}});
    }
    const int step = s.traits.grid.step;
    json levels = json::array();
    for (int l = 0; l < kDpiLevels; ++l) {
        const DpiSteps& d = s.levels[static_cast<std::size_t>(l)];
        levels.push_back({{"index", l}, {"x", d.x * step}, {"y", d.y * step}});
    }
    return {
        {"mouse",
         {{"index", index},
          {"path", path},
          {"model", s.traits.model->tag},
          {"sensor", s.traits.sensor}}},
        {"profile", s.profile},
        {"profiles", std::move(profiles)},
        {"dpi",
         {{"step", step},
          {"min", s.traits.grid.min_dpi()},
          {"max", s.traits.grid.max_dpi()},
          {"level", s.level},
          {"levels", std::move(levels)}}},
        {"report_rate", s.report_rate_hz()},
        {"angle_snap", s.traits.snaps_angles() ? json(s.angle_snap) : json(nullptr)},
        {"wheel_rate", s.traits.has_wheel_rate() ? json(s.wheel_rate) : json(nullptr)},
    };
}

void print_settings(std::ostream& out, const MouseSettings& s, int index, const std::string& path,
                    device::zklib& lib) {
    out << "mouse " << index << "  " << path << "  model " << s.traits.model->tag << "  sensor "
        << s.traits.sensor << "\n"
        << "profile " << s.profile << "\n";
    for (int p = 0; p < device::kProfileCount; ++p) {
        const std::string& name = s.names[static_cast<std::size_t>(p)];
        out << "\nprofile " << p << "  " << (name.empty() ? "(no name)" : name)
            << (p == s.profile ? "  (current)" : "") << "\n";
        int b = 0;
        for (const ButtonRow& row : button_rows(s, p, lib, path)) {
            std::string button = row.button;
            button.resize(std::max<std::size_t>(button.size(), 18), ' ');
            out << "  " << (b < 10 ? " " : "") << b << "  " << button << "  " << row.function
                << "\n";
            ++b;
        }
    }
    const device::DpiGrid& grid = s.traits.grid;
    out << "\ndpi " << grid.min_dpi() << "-" << grid.max_dpi() << " in steps of " << grid.step
        << ", level " << s.level << "\n";
    for (int l = 0; l < kDpiLevels; ++l) {
        const DpiSteps& d = s.levels[static_cast<std::size_t>(l)];
        out << "  level " << l << "  X " << d.x * grid.step << "  Y " << d.y * grid.step
            << (l == s.level ? "  (current)" : "") << "\n";
    }
    out << "\nreport rate " << s.report_rate_hz() << " Hz\n"
        << "angle snap "
        << (s.traits.snaps_angles() ? (s.angle_snap ? "on" : "off") : "(not on this mouse)") << "\n"
        << "wheel rate "
        << (s.traits.has_wheel_rate() ? std::to_string(s.wheel_rate) : "(not on this mouse)")
        << "\n";
}

}  // namespace

int run_settings_show(CliContext& ctx) {
    auto args = ctx.args;
    const auto index = take_device_option(ctx, args);
    if (!index)
        return kExitUsage;
    bool json = ctx.globals.json;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else {
            ctx.err << "zentrikctl settings: unexpected argument '" << a << "'\n"
                    << kSettingsShowUsage;
            return kExitUsage;
        }
    }
    int status = 0;
    auto mouse = open_addressed_mouse(ctx, *index, status);
    if (!mouse)
        return status;
    MouseSettings s;
    if (!read_mouse_settings(*mouse->lib, mouse->device, s)) {
        ctx.err << "zentrikctl settings: the mouse did not answer\n";
        return kExitDevice;
    }
    if (json)
        ctx.out << settings_json(s, *index, mouse->device.path, *mouse->lib).dump(2) << "\n";
    else
        print_settings(ctx.out, s, *index, mouse->device.path, *mouse->lib);
    return kExitOk;
}

}  // namespace zentrik::cli
