#pragma once
// Everything the settings commands read from a mouse in one go: profile, names, the button
// table, DPI levels, report rate, angle snapping and wheel rate, with the mouse's own rules
// (DPI grid, which options it has) beside them.
#include <array>
#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "device/button_table.h"
#include "device/zklib.h"
#include "settings/dpi_rules.h"

namespace zentrik::cli {

inline constexpr int kDpiLevels = 4;

// What a mouse can do, from its device record alone (no exchange).
struct MouseTraits {
    std::string model_tag;
    int sensor = 0;
    settings::DpiGrid grid;
    bool has_angle_snap() const { return sensor == 1; }
    bool has_wheel_rate() const { return model_tag == "qx9" || model_tag == "qx10"; }
};
MouseTraits mouse_traits(const device::_DEVICE_& mouse);

struct DpiSteps {
    int x = 1;
    int y = 1;
};

struct MouseSettings {
    MouseTraits traits;
    int profile = 0;
    std::array<std::string, device::kProfileCount> names;  // empty: no name
    device::ButtonTable buttons;                           // by UI button index
    std::array<DpiSteps, kDpiLevels> levels;
    int level = 0;
    int rate_divisor = 1;  // 1-8
    bool angle_snap = false;
    int wheel_rate = 0;  // 0 when the mouse has none
    int report_rate_hz() const { return 1000 / rate_divisor; }
};

// The eleven buttons of `profile` into `table`; false when an exchange failed.
bool read_profile_buttons(device::zklib& lib, const std::string& path, int profile,
                          device::ButtonTable& table);

// The report-rate byte split as the mouse keeps it: divisor in the low 4 bits (0 read as 1),
// angle snapping in bits 4-6 (ignored unless the mouse snaps angles).
struct RateByte {
    int divisor = 1;
    int snap = 0;
};
RateByte split_rate_byte(std::uint8_t byte, const MouseTraits& traits);

// Reads everything into `s`; false when any exchange failed (nothing is guessed).
bool read_mouse_settings(device::zklib& lib, const device::_DEVICE_& mouse, MouseSettings& s);

}  // namespace zentrik::cli
