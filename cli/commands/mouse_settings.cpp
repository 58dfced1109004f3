#include "cli/commands/mouse_settings.h"

#include <algorithm>

#include "core/button_functions.h"
#include "device/commands.h"
#include "lang/text_codec.h"

namespace zentrik::cli {

bool read_profile_buttons(device::zklib& lib, const std::string& path, int profile,
                          device::ButtonTable& table) {
    for (int b = 0; b < device::kButtonCount; ++b) {
        const auto reply =
            device::read_button(lib, path, profile, core::button_info(b).device_index);
        if (!reply)
            return false;
        device::ButtonAssignment cell;
        if (reply->kind & 0x80) {
            cell.remapped = true;
            cell.code = reply->value;
        }
        table.set(profile, b, cell);
    }
    table.set_loaded(profile, true);
    return true;
}

device::RateByte read_rate(std::uint8_t byte, const device::MouseTraits& traits) {
    return device::split_rate_byte(byte, *traits.sensor_rule);
}

bool read_mouse_settings(device::zklib& lib, const device::_DEVICE_& mouse, MouseSettings& s) {
    const std::string& path = mouse.path;
    s.traits = device::mouse_traits(mouse);

    const auto profile = device::read_profile(lib, path);
    const auto level = device::read_dpi_level(lib, path);
    const auto rate = device::read_rate_byte(lib, path);
    if (!profile || !level || !rate)
        return false;
    s.profile = std::clamp(*profile, 0, device::kProfileCount - 1);
    s.level = std::clamp(*level, 0, kDpiLevels - 1);
    const device::RateByte split = read_rate(*rate, s.traits);
    s.rate_divisor = split.divisor;
    s.angle_snap = split.snap != 0;

    for (int p = 0; p < device::kProfileCount; ++p) {
        const auto name = device::read_profile_name(lib, path, p);
        if (!name || !read_profile_buttons(lib, path, p, s.buttons))
            return false;
        s.names[static_cast<std::size_t>(p)] = lang::utf16_to_utf8(*name);
    }
    for (int l = 0; l < kDpiLevels; ++l) {
        int x = 0;
        int y = 0;
        if (!device::read_dpi_values(lib, path, l, x, y))
            return false;
        // A Y of 0 means "as X"; the steps stay on the mouse's grid.
        DpiSteps& d = s.levels[static_cast<std::size_t>(l)];
        d.x = std::clamp(x, 1, s.traits.grid.count);
        d.y = std::clamp(y == 0 ? x : y, 1, s.traits.grid.count);
    }
    if (s.traits.has_wheel_rate()) {
        const auto wheel = device::read_wheel_rate(lib, path);
        if (!wheel)
            return false;
        s.wheel_rate = *wheel;
    }
    return true;
}

}  // namespace zentrik::cli
