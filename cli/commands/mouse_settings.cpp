#include "cli/commands/mouse_settings.h"

#include <algorithm>

#include "device/commands.h"
#include "lang/text_codec.h"
#include "settings/button_functions.h"
#include "settings/device_rows.h"

namespace zentrik::cli {

MouseTraits mouse_traits(const device::_DEVICE_& mouse) {
    MouseTraits traits;
    traits.model_tag = settings::model_info(mouse.model).model_tag;
    traits.sensor = mouse.sensor;
    traits.grid = settings::dpi_grid(traits.model_tag, mouse.sensor, mouse.dpi_step);
    return traits;
}

bool read_profile_buttons(device::zklib& lib, const std::string& path, int profile,
                          device::ButtonTable& table) {
    for (int b = 0; b < device::kButtonCount; ++b) {
        const auto reply =
            device::read_button(lib, path, profile, settings::button_info(b).device_index);
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

RateByte split_rate_byte(std::uint8_t byte, const MouseTraits& traits) {
    RateByte rate;
    rate.divisor = std::clamp(byte & 0x0F, 1, 8);
    rate.snap = traits.has_angle_snap() ? (byte >> 4) & 0x07 : 0;
    return rate;
}

bool read_mouse_settings(device::zklib& lib, const device::_DEVICE_& mouse, MouseSettings& s) {
    const std::string& path = mouse.path;
    s.traits = mouse_traits(mouse);

    const auto profile = device::read_profile(lib, path);
    const auto level = device::read_dpi_level(lib, path);
    const auto rate = device::read_rate_byte(lib, path);
    if (!profile || !level || !rate)
        return false;
    s.profile = std::clamp(*profile, 0, device::kProfileCount - 1);
    s.level = std::clamp(*level, 0, kDpiLevels - 1);
    const RateByte split = split_rate_byte(*rate, s.traits);
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
