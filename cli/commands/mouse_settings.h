#pragma once
// Everything the settings commands read from a mouse in one go: profile, names, the button
// table, DPI levels, report rate, angle snapping and wheel rate, with the mouse's own rules
// (DPI grid, which options it has) beside them.
#include <array>
#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "device/button_table.h"
#include "device/mouse_models.h"
#include "device/zklib.h"

namespace zentrik::cli {

inline constexpr int kDpiLevels = device::kDpiLevelCount;

struct DpiSteps {
    int x = 1;
    int y = 1;
};

struct MouseSettings {
    device::MouseTraits traits;
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

// The report-rate byte as zentrikctl takes it: the mouse's split, the divisor kept to the
// rates it sets (1-8).
device::RateByte read_rate(std::uint8_t byte, const device::MouseTraits& traits);

// Reads everything into `s`; false when any exchange failed (nothing is guessed).
bool read_mouse_settings(device::zklib& lib, const device::_DEVICE_& mouse, MouseSettings& s);

}  // namespace zentrik::cli
